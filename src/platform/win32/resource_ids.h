#pragma once
// The program's icon in its resources (kestrafon.rc.in). It has the lowest
// number, so it is also the .exe's icon.
#define KESTRAFON_IDI_ICON 1
