#pragma once

// Classes of vrel are exported whole; Tarnwell.exe and the tests import them.
#if defined(VREL_BUILD)
#define VREL_API __declspec(dllexport)
#else
#define VREL_API __declspec(dllimport)
#endif
