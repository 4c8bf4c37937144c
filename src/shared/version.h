// The program's version: major.minor and the revision, as the about box shows them.
#pragma once

#define VELK_VERSION_MAJOR 2
#define VELK_VERSION_MINOR 0
#define VELK_VERSION_REVISION 1
#define VELK_VERSION_TEXT "2.0.1"
