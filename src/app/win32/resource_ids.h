// Resource numbers shared by the resource script and the code that loads them.
#pragma once

#define IDI_QELMORA 1  // the window class loads icon 1
