// Identifiers shared by the program and its resources (the .rc script on Windows).
#pragma once

#define IDD_LOAD 101             // the load-value dialog
#define ID_LOAD_EDIT 1000        // its edit field
#define IDD_PULSE 102            // the pulse mode's dialog
#define ID_SOURCE_EDIT 1001      // its edit fields: the source resistance,
#define ID_PULSE_LOAD_EDIT 1002  // the load
#define ID_WIDTH_EDIT 1003       // and the pulse width
#define TIMER_ANIM 1             // the animation timer of the main window
