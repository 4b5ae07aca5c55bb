// The two introductory messages shown on the first paint.
#include "app/velmora.h"

namespace {

const char introExplanation[] =
    "This program illustrates the effect of varying the value of load resistance\n"
    "at the end of a 50-ohm transmission line. A sinusoidal signal launched into the line\n"
    "needs a finite time to reach the far end. As the wave front travels, its\n"
    "phase stays constant, while an observer at one fixed point sees a sine wave whose\n"
    "phase varies with both the position along the line and the time. Freeze time with\n"
    "the ENTER key and move from the source toward the load: each point you pass shows\n"
    "conditions that were launched at the source earlier, so moving toward the load is\n"
    "like looking back in time, to the moments when the signal had only just left the\n"
    "source.\n"
    "\n"
    "The line has a characteristic impedance of 50 ohms, which fixes the ratio of the\n"
    "voltage to the current of a wave travelling along it. A load of 50 ohms is matched:\n"
    "it takes exactly the voltage and current the wave brings and absorbs all of its\n"
    "energy, so nothing comes back. Any other load cannot satisfy the ratio set by the\n"
    "line on its own. A mismatched load therefore absorbs only part of the energy and\n"
    "reflects the rest back toward the source as a second wave that travels along the\n"
    "line in the opposite direction.\n"
    "\n"
    "Consider a short circuit as the load. The short must keep the voltage at the load\n"
    "at 0 V at every instant. That is only possible if a second signal, equal in size\n"
    "but 180 degrees out of phase with the incident one, travels back from the load\n"
    "toward the source, so that the two signals cancel out at the load.\n"
    "\n"
    "With time frozen, the phase of the incident signal changes in one direction along\n"
    "the line while the phase of the reflected signal changes in the opposite direction.\n"
    "The ratio of total voltage to total current, the impedance seen looking toward the\n"
    "load, therefore depends on the distance from the load; it repeats every half\n"
    "wavelength, and the program shows its value for specific points on the line. At\n"
    "every point the incident and reflected phasors add up to a vector sum whose size\n"
    "stays constant as time runs on. Together these sums form a fixed pattern of voltage\n"
    "along the line, large in some places and small in others: the standing wave, which\n"
    "the red dots trace out as the reflected wave travels back toward the source.";

const char introKeyHelp[] =
    "Press 'ENTER' to activate a dialog box and enter a\n"
    "  value, decimal or integer, for the load on the line.\n"
    "\n"
    "Press 'ENTER' to start/pause/resume the animation.\n"
    "\n"
    "Press 'F1' to reset the program and reactivate the\n"
    "  dialog box.\n"
    "\n"
    "Quit the program as you would any windows program.";

const char labKeyHelp[] =
    "Type the load as R, R+jX or R-jX in ohms (for example 75+j50),\n"
    "  or short, or open.\n"
    "\n"
    "Press 'ENTER' to start/pause/resume the animation.\n"
    "Press '+' for faster, '-' for slower, and the right arrow\n"
    "  to step one tick while paused.\n"
    "\n"
    "Point at the line to read |V|/|V+| and Z there.\n"
    "\n"
    "Press 'M' to match the load to the line: a stub, the other\n"
    "  stub, a quarter-wave section at the voltage maximum, one\n"
    "  at the minimum, then none again.\n"
    "\n"
    "Press 'F1' to reset the program and type a new load.";

const char pulseExplanation[] =
    "A source of 1 V behind a resistance Rs is switched onto the 50-ohm line: a step, or a\n"
    "pulse a few trips of the line long. The line takes 50 / (50 + Rs) volts of it at first,\n"
    "whatever the load, because at that moment the source sees only the line. That wave\n"
    "travels to the load, which reflects Gamma_L = (RL - 50) / (RL + 50) of it; the reflection\n"
    "travels back to the source, which reflects Gamma_S = (Rs - 50) / (Rs + 50) of that, and\n"
    "so on. The voltage at any point at any moment is the sum of the waves that have reached\n"
    "it.\n"
    "\n"
    "The blue trace shows the voltage along the line, 50 pixels per volt, with each front as\n"
    "a vertical edge. The bounce diagram draws each trip as it happens, with its wave's\n"
    "amplitude and the voltage each end reaches; the graph shows the load's voltage over\n"
    "time, as an oscilloscope would, climbing in steps toward its final value.";

const char pulseKeyHelp[] =
    "Type the source resistance Rs and the load RL in ohms (0 to 10000;\n"
    "  short or open for the load), and a pulse width in trips of the\n"
    "  line (up to 2), or nothing for a step. An empty resistance keeps\n"
    "  the one shown.\n"
    "\n"
    "Press 'ENTER' to start/pause/resume the animation.\n"
    "Press '+' for faster, '-' for slower, and the right arrow\n"
    "  to step one tick while paused.\n"
    "\n"
    "Press 'F1' to reset the program and type new values.";

}  // namespace

// The boxes have no owner, so the main window stays live (and ticking) while they are open.
void ShowIntro() {
    MessageBoxA(nullptr, introExplanation, "Velmora", MB_OK);
    MessageBoxA(nullptr, introKeyHelp, "Velmora", MB_OK);
}

void ShowLabIntro() {
    MessageBoxA(nullptr, introExplanation, "Velmora", MB_OK);
    MessageBoxA(nullptr, labKeyHelp, "Velmora", MB_OK);
}

void ShowPulseIntro() {
    MessageBoxA(nullptr, pulseExplanation, "Velmora", MB_OK);
    MessageBoxA(nullptr, pulseKeyHelp, "Velmora", MB_OK);
}
