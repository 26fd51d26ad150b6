% ok = run_test_file(NAME): runs the %!test and %!error blocks of the test
% file NAME (on the path), prints the count, and is true when all passed.
function ok = run_test_file(name)
  [n_pass, n_total] = test(name, 'quiet', stdout);
  printf('%s: %d of %d passed\n', name, n_pass, n_total);
  ok = n_total > 0 && n_pass == n_total;
end
