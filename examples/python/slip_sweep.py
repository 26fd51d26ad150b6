"""A rover wheel on dry sand carrying a constant load while its slip is swept
from braking to nearly spinning in place: drawbar pull, driving torque and
sinkage against slip. At each slip wheelsoil.equilibrium finds the centre
height at which the soil carries the load, so the sinkage follows the slip.

    PYTHONPATH=build/python /usr/bin/python3 examples/python/slip_sweep.py [OUT_DIR]

Prints a summary per load and writes slip_sweep.png into OUT_DIR (default:
the current folder). Runs headless (matplotlib's Agg backend).
"""

import sys
from pathlib import Path

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

import wheelsoil  # noqa: E402

out_dir = Path(sys.argv[1]) if len(sys.argv) > 1 else Path.cwd()

# The wheel: r = 0.13 m, b = 0.16 m, moving forward at 0.1 m/s on Earth.
radius, width, vx = 0.13, 0.16, 0.1

# Slip ratio s of the rim speed u = wy r against vx: braking (s < 0) gives
# u = vx (1 + s), driving (s > 0) u = vx / (1 - s).
slip = np.linspace(-0.5, 0.9, 57)
u = np.where(slip > 0, vx / (1 - slip), vx * (1 + slip))

# One input row per slip; the centre height is replaced by the solved one.
P = wheelsoil.talvor_input("dry_sand", radius=radius, width=width, centre_height=radius, vx=vx,
                           wy=u / radius, c1=0.4, c2=0.15, c3=0.1, c4=0, gravity=9.81)

wheel_loads = [50.0, 100.0, 150.0]  # N: a 15-45 kg rover share per wheel on Earth
fig, axes = plt.subplots(3, 1, figsize=(8, 9), sharex=True)
for W in wheel_loads:
    r = wheelsoil.equilibrium(P, W)
    for j in np.flatnonzero(~r.converged):
        print(f"W = {W:g} N, slip {slip[j]:.3f}: {r.message[j]}")
    named = wheelsoil.talvor_output(r.loads)
    pull = named["rim_fx"] + named["side_fx"]
    torque = -named["rim_my"]  # the motor's torque balances the soil's rim_my
    print(f"W = {W:3g} N: sinkage {1e3 * np.nanmin(r.sinkage):.1f}-"
          f"{1e3 * np.nanmax(r.sinkage):.1f} mm, drawbar pull {np.nanmin(pull):.1f} to "
          f"{np.nanmax(pull):.1f} N, {r.iterations.max()} model evaluations a solve at most")
    label = f"W = {W:g} N"
    axes[0].plot(slip, pull, linewidth=2, label=label)
    axes[1].plot(slip, torque, linewidth=2, label=label)
    axes[2].plot(slip, 1e3 * r.sinkage, linewidth=2, label=label)

titles = [(f"Drawbar pull rim_fx + side_fx, wheel r = {radius:.2f} m, b = {width:.2f} m "
           f"on dry sand", "drawbar pull (N)", "lower right"),
          ("Driving torque -rim_my", "driving torque (N m)", "lower right"),
          ("Sinkage at the mid-plane", "sinkage (mm)", "upper left")]
for ax, (title, ylabel, where) in zip(axes, titles):
    ax.set_title(title)
    ax.set_ylabel(ylabel)
    ax.grid(True)
    ax.legend(loc=where)
    ax.set_xlim(slip[0], slip[-1])
axes[-1].set_xlabel("slip ratio s (-): < 0 braking, > 0 driving")
fig.tight_layout()
png = out_dir / "slip_sweep.png"
fig.savefig(png, dpi=100)
print(f"Plot written to {png}")
