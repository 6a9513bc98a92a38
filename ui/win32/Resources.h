#pragma once
// Numbers of the resources in moondial.rc that the code loads by number.

#define MOONDIAL_ICON 1
#define MOONDIAL_POINTER 2
