// Runs only where the kernel can execute 32-bit x86 programs: the 32-bit tests
// run it first, to tell a machine without that support from a failing build.
int main() { return 0; }
