// Identifiers shared by the program and its resources (the .rc script on Windows).
#pragma once

#define IDD_LOAD 101       // the load-value dialog
#define ID_LOAD_EDIT 1000  // its edit field
#define TIMER_ANIM 1       // the animation timer of the main window
