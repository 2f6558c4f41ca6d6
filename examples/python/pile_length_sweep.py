# %% [markdown]
# # Load-settlement curves against pile length
#
# Reads the bundled example project (an 18 in pipe pile in clay over sand
# over clay), analyses it for several pile lengths in memory and plots the
# load-settlement curves. Run it as a script (`python3
# pile_length_sweep.py [PICTURE.png]`) or cell by cell in an editor that
# knows `# %%` cells.

# %%
import pathlib
import sys

import matplotlib

matplotlib.use("Agg")  # pictures without a display
import matplotlib.pyplot as plt

import korven

here = pathlib.Path(__file__).resolve().parent
project = korven.Project.read(here.parent / "example.kv3d")
picture = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else here / "pile_length_sweep.png"
print(project.title, "-", "English units (in, lbs)" if project.units == korven.ENGLISH else "SI units (m, kN)")

# %% [markdown]
# Every length within the soil layers (the deepest layer ends at 60 ft), with
# the nine default tip movements of the engine, from which it draws the whole
# curve.

# %%
lengths_ft = [30, 40, 50, 60]
results = {}
for length_ft in lengths_ft:
    pile = project.copy()
    pile.pile_length = length_ft * 12.0
    pile.ae = [(0.0, 1.5e9), (pile.pile_length, 1.5e9)]
    pile.use_tip_movements, pile.tip_movements = False, []  # the default tip movements
    results[length_ft] = korven.analyze(pile)

print(f"{'length':>8} {'Davisson':>12} {'at 10 % D':>12}")
for length_ft, result in results.items():
    davisson = result.readouts.davisson
    ten = result.readouts.ten_percent_diameter
    print(f"{length_ft:>6} ft {davisson.load / 1000:>8.1f} kips {ten.load / 1000 if ten.reached else float('nan'):>7.1f} kips")

# %% [markdown]
# The curves: pile-head load against pile-head movement, with Davisson's
# offset limit of each length marked. Where the tip moves beyond the last
# point of its Q-w curve the engine extends that curve along its last
# segment: those stretches are dashed, as a reminder that the tip load there
# is extrapolated.

# %%
largest_movement = 1.5  # in
figure, axes = plt.subplots(figsize=(7, 4.5), dpi=120)
top = 0.0
for length_ft, result in results.items():
    curve = result.load_settlement
    shown = curve.head_movement <= largest_movement
    top = max(top, (curve.head_load[shown] / 1000).max())
    qw_end = result.qw_curve_used[1][-1]  # the last tip movement of the Q-w curve
    within = int((curve.tip_movement <= qw_end).sum())  # rows with the tip on the curve
    line, = axes.plot(curve.head_movement[:within], curve.head_load[:within] / 1000, marker="o", markersize=3,
                      label=f"{length_ft} ft")
    if within < len(curve.head_movement):
        start = max(within - 1, 0)
        axes.plot(curve.head_movement[start:], curve.head_load[start:] / 1000, linestyle="--", marker="o",
                  markersize=3, color=line.get_color())
    davisson = result.readouts.davisson
    if davisson.reached:
        axes.plot(davisson.settlement, davisson.load / 1000, marker="D", color=line.get_color(), markersize=7,
                  markerfacecolor="white")
axes.set_xlim(0, largest_movement)
axes.set_ylim(0, 1.15 * top)
axes.set_xlabel("Pile-head movement (in)")
axes.set_ylabel("Pile-head load (kips)")
axes.set_title("Load-settlement curves by pile length (◇ Davisson's limit)")
axes.text(0.99, 0.02, "dashed: tip beyond its Q-w curve (extrapolated)", transform=axes.transAxes,
          ha="right", va="bottom", fontsize=8, color="0.3")
axes.grid(True, alpha=0.3)
axes.legend(title="Pile length", loc="upper left")
figure.tight_layout()
figure.savefig(picture)
print("picture:", picture)
