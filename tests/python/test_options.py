"""talvor's opt-in options from Python (the split rule, the direction-aware
evaluation) and talvor_contact: the same bits as the library's other
interfaces, the mirror, the shapes and every refusal."""

import io
import os
import subprocess

import numpy as np
import pytest

import wheelsoil
from wheelsoil import _core
from conftest import same_bits

TOOL = os.environ.get("WHEELSOIL_TOOL", "")
needs_tool = pytest.mark.skipif(not os.path.isfile(TOOL), reason="the wheelsoil tool is not built")

# The mirror about the wheel's y-z plane: the inputs vx, wy, wz and the
# outputs rim_fx, side_fx, rim_fx_copy and the y and z moments negated.
MIRRORED_INPUTS = [0, 4, 5]
MIRRORED_OUTPUTS = [0, 4, 5, 6, 10, 11, 12, 16, 17]


def mirrored(a, slots):
    m = np.array(a, dtype=np.float64, copy=True)
    m[..., slots] = -m[..., slots]
    return m


def tool(*args, rows):
    """The wheelsoil tool's CSV output for input rows: header, values."""
    text = "\n".join(" ".join(f"{v:.17g}" for v in row) for row in rows) + "\n"
    done = subprocess.run([TOOL, *args], input=text, capture_output=True, text=True, check=True,
                          timeout=120)
    header = done.stdout.splitlines()[0].split(",")
    return header, np.loadtxt(io.StringIO(done.stdout), delimiter=",", skiprows=1, ndmin=2)


@pytest.fixture(scope="module")
def forward(talvor_cases):
    """The reference cases travelling forward (vx > 0) with finite loads."""
    _, P, F = talvor_cases
    keep = (P[:, 0] > 0) & np.all(np.isfinite(F), axis=1)
    assert keep.sum() >= 5
    return P[keep], F[keep]


def test_the_options_left_off_give_the_default_bits(talvor_cases, forward):
    _, P, F = talvor_cases
    assert same_bits(wheelsoil.talvor(P, rule="fixed", direction_aware=False), F)
    # Forward wheels are not mirrored: the direction-aware bits are the default's.
    P, F = forward
    assert same_bits(wheelsoil.talvor(P, direction_aware=True), F)
    assert same_bits(wheelsoil.talvor(P, rule="split", direction_aware=True),
                     wheelsoil.talvor(P, rule="split"))


@needs_tool
@pytest.mark.parametrize("args, options", [
    (["--rule", "split"], {"rule": "split"}),
    (["--direction-aware"], {"direction_aware": True}),
    (["--rule", "split", "--direction-aware"], {"rule": "split", "direction_aware": True}),
])
def test_options_give_the_bits_of_the_tool(talvor_cases, args, options):
    _, P, _ = talvor_cases
    both = np.vstack([P, mirrored(P, MIRRORED_INPUTS)])  # forward and backward wheels
    _, expected = tool("talvor", *args, rows=both)
    assert same_bits(wheelsoil.talvor(both, **options), expected)
    assert same_bits(wheelsoil.talvor(both[3], **options), expected[3])
    assert same_bits(wheelsoil.talvor(both, threads=3, **options), expected)


@pytest.mark.parametrize("rule", ["fixed", "split"])
def test_a_mirrored_wheel_gets_exactly_the_mirrored_loads(forward, rule):
    P, _ = forward
    ahead = wheelsoil.talvor(P, rule=rule)
    back = wheelsoil.talvor(mirrored(P, MIRRORED_INPUTS), rule=rule, direction_aware=True)
    assert same_bits(back, mirrored(ahead, MIRRORED_OUTPUTS))
    # Without the option the backward wheel's patch stays at +x: not the mirror.
    plain = wheelsoil.talvor(mirrored(P, MIRRORED_INPUTS), rule=rule)
    assert not same_bits(plain, back)


def test_the_rover_wheels_documented_loads(rover):
    back = wheelsoil.talvor(mirrored(rover, MIRRORED_INPUTS), direction_aware=True)
    assert back[0] == -0.0038147194480512162
    assert back[2] == 37.956898342967939
    # The split rule moves the rim loads by about 1e-3 of rim_fz, not the sidewalls.
    fixed, split = wheelsoil.talvor(rover), wheelsoil.talvor(rover, rule="split")
    assert same_bits(split[6:12], fixed[6:12])
    assert same_bits(split[12:], split[:6])
    assert 0 < abs(split[2] - fixed[2]) < 2e-3 * fixed[2]


def test_option_refusals(rover):
    with pytest.raises(ValueError, match="rule must be 'fixed' or 'split'"):
        wheelsoil.talvor(rover, rule="adaptive")
    with pytest.raises(ValueError, match="math='vector'"):
        wheelsoil.talvor(rover, rule="split", math="vector")
    with pytest.raises(ValueError, match="math"):
        wheelsoil.talvor(rover, rule="split", math="fast")
    for bad in (1, "yes", None):
        with pytest.raises(TypeError, match="direction_aware"):
            wheelsoil.talvor(rover, direction_aware=bad)
        with pytest.raises(TypeError, match="direction_aware"):
            wheelsoil.talvor_contact(rover, direction_aware=bad)
    # The library itself refuses the split rule with the vector maths.
    with pytest.raises(ValueError):
        _core.talvor_batch(rover[np.newaxis, :], 0, _core.SPLIT_RULE | _core.MATH_VECTOR)
    with pytest.raises(ValueError):
        _core.talvor_contact(rover, [], [], _core.MATH_VECTOR)


PROFILE_FIELDS = ["normal_stress", "shear_stress_x", "shear_stress_y", "shear_displacement_x",
                  "shear_displacement_y"]
GEOMETRY_FIELDS = ["y", "sinkage", "entry_angle", "max_stress_angle", "exit_angle",
                   "band_entry_angle", "band_max_stress_angle", "band_exit_angle"]
ANGLE_FIELDS = GEOMETRY_FIELDS[2:]


def test_contact_shapes_and_geometry(rover):
    c = wheelsoil.talvor_contact(rover)
    assert isinstance(c, wheelsoil.Contact)
    for name in GEOMETRY_FIELDS:
        assert getattr(c, name).shape == (30,), name
    for name in ["profile_y", "theta"] + PROFILE_FIELDS:
        assert getattr(c, name) is None, name
    assert abs(c.slip_ratio - 0.2) < 1e-12  # (omega r - vx) / (omega r) = (0.1 - 0.08) / 0.1
    # From +b/2 towards -b/2 inside the width, symmetric about the mid-plane.
    assert np.all(np.diff(c.y) < 0) and c.y[0] < 0.08 and c.y[-1] > -0.08
    assert np.all(np.abs(c.y + c.y[::-1]) <= 1e-16)  # the rule's nodes, rounded
    # The untilted wheel at 10 mm sinkage: the same contact across the width.
    assert np.all(np.abs(c.sinkage - 0.01) < 1e-12)
    assert np.all(c.exit_angle < c.max_stress_angle) and np.all(c.max_stress_angle < c.entry_angle)
    assert abs(c.side_sinkage_plus - 0.01) < 1e-12 and c.side_sinkage_plus == c.side_sinkage_minus

    theta = np.linspace(c.exit_angle[14], c.entry_angle[14], 7)
    p = wheelsoil.talvor_contact(rover, [0.0, 0.03, -0.07], theta)
    for name in PROFILE_FIELDS:
        assert getattr(p, name).shape == (3, 7), name
    assert same_bits(p.profile_y, [0.0, 0.03, -0.07]) and same_bits(p.theta, theta)
    # No normal stress at the patch's ends, all of it compressive inside.
    assert p.normal_stress[0, 0] == 0 and p.normal_stress[0, -1] == 0
    assert np.all(p.normal_stress[:, 1:-1] > 0)
    one = wheelsoil.talvor_contact(rover, 0, theta[3])  # scalars: a 1 x 1 profile
    assert one.normal_stress.shape == (1, 1) and one.normal_stress[0, 0] == p.normal_stress[0, 3]
    empty = wheelsoil.talvor_contact(rover, [], theta)
    assert empty.normal_stress.shape == (0, 7)


@needs_tool
def test_contact_gives_the_bits_of_the_tool(rover):
    wheel = rover.copy()
    wheel[19] = 0.05  # tilted: the contact varies across the width
    wheel[8] = 0.004  # with a band
    wheel[9] = 0.6
    for aware, row in ((False, wheel), (True, mirrored(wheel, MIRRORED_INPUTS))):
        flag = ["--direction-aware"] if aware else []
        c = wheelsoil.talvor_contact(row, direction_aware=aware)
        header, g = tool("contact", *flag, rows=[row])
        assert g.shape == (30, len(header))
        for name in GEOMETRY_FIELDS:
            assert same_bits(getattr(c, name), g[:, header.index(name)]), name
        for name in ("slip_ratio", "side_sinkage_plus", "side_sinkage_minus"):
            assert same_bits(getattr(c, name), g[0, header.index(name)]), name

        ys, theta = [0.05, 0.0, -0.05], np.linspace(-0.3, 0.5, 9)
        header, s = tool("contact", *flag, "--y", ",".join(f"{v:.17g}" for v in ys),
                         "--theta", ",".join(f"{v:.17g}" for v in theta), rows=[row])
        p = wheelsoil.talvor_contact(row, ys, theta, direction_aware=aware)
        for name in PROFILE_FIELDS:
            assert same_bits(getattr(p, name), s[:, header.index(name)].reshape(3, 9)), name
        assert np.any(p.normal_stress > 0)


def test_a_mirrored_contact_is_the_forward_one_mapped_back(rover):
    theta = np.linspace(-0.4, 0.4, 17)
    ys = [0.07, 0.0, -0.02]
    ahead = wheelsoil.talvor_contact(rover, ys, theta)
    back = wheelsoil.talvor_contact(mirrored(rover, MIRRORED_INPUTS), ys, -theta,
                                    direction_aware=True)
    for name in ANGLE_FIELDS:
        assert same_bits(getattr(back, name), -getattr(ahead, name)), name
    for name in ("y", "sinkage", "slip_ratio", "side_sinkage_plus", "side_sinkage_minus",
                 "normal_stress", "shear_stress_y", "shear_displacement_y"):
        assert same_bits(getattr(back, name), getattr(ahead, name)), name
    for name in ("shear_stress_x", "shear_displacement_x"):
        assert same_bits(getattr(back, name), -getattr(ahead, name)), name
    # A forward wheel's contact is the default's with the option on.
    same = wheelsoil.talvor_contact(rover, ys, theta, direction_aware=True)
    for name in GEOMETRY_FIELDS + PROFILE_FIELDS:
        assert same_bits(getattr(same, name), getattr(ahead, name)), name


def test_contact_refusals(rover, talvor_cases):
    _, P, _ = talvor_cases
    with pytest.raises(ValueError, match="one input vector"):
        wheelsoil.talvor_contact(P[:2])
    with pytest.raises(ValueError, match=r"\(29,\)"):
        wheelsoil.talvor_contact(rover[:20])
    with pytest.raises(ValueError, match="y and theta go together"):
        wheelsoil.talvor_contact(rover, [0.0])
    with pytest.raises(ValueError, match="y and theta go together"):
        wheelsoil.talvor_contact(rover, theta=[0.1])
    with pytest.raises(ValueError, match="1-D"):
        wheelsoil.talvor_contact(rover, np.zeros((2, 2)), [0.1])
    with pytest.raises(TypeError, match="theta"):
        wheelsoil.talvor_contact(rover, [0.0], np.zeros(3, dtype=np.float32))
    with pytest.raises(TypeError, match="p must be a float64"):
        wheelsoil.talvor_contact(rover.astype(np.float32))
