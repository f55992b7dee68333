#pragma once

// The name of the library that holds the window run, and of its entry point
// int velmora_window_main(int argc, char** argv), which returns the program's exit status.
inline constexpr const char* kWindowLibraryName = "velmora-window.so";
inline constexpr const char* kWindowEntryName = "velmora_window_main";
