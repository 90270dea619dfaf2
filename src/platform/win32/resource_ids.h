#pragma once
// Identifiers of the resources compiled into the program (kestrafon.rc.in).
// The icon has the lowest number, so it is also the .exe's icon.
#define KESTRAFON_IDI_ICON 1
#define KESTRAFON_IDR_FACE 101
#define KESTRAFON_IDR_PLAYLIST 102
#define KESTRAFON_IDR_BUTTONS 103
#define KESTRAFON_IDR_PARTS 104
#define KESTRAFON_IDR_ICON_PNG 105
