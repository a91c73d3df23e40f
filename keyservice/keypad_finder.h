// Finding the keypad: the key collection of a supported tablet among the present HID interfaces.
#pragma once

#include <windows.h>

namespace ktkey {

// The first of interfaces 0..32 that is a keypad, opened for overlapped reading; nullptr when none is.
// Every other interface opened on the way is closed again.
HANDLE FindKeypad();

}  // namespace ktkey
