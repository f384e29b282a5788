// What the host does differently per platform: its standard streams, where the profile lives when
// none is named, the library loader, and reading back what its main window shows. No platform
// header comes in here.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "Picture.h"

namespace host {

// Standard input, output and error carry bytes unchanged, so output has "\n" line ends and a
// script reads the same on every platform (a terminal's input stays as the platform reads it).
// One that was closed stays unusable, rather than a file the host opens later taking its place.
void UseBinaryStandardStreams();
bool StandardInputIsTerminal();

// A request to end the run (SIGINT, SIGTERM, SIGHUP) is caught, so that the host can tear the
// plug-in down in order first, and it interrupts a read of standard input; writing to a pipe
// whose reader is gone fails the write instead of ending the process. Nothing on Windows.
void CatchEndSignals();
// The signal caught, 0 for none.
int EndSignal();
// Ends the process as the signal would have, once the host has torn everything down.
void EndBySignal(int signal);
// The next line of standard input; false at its end. While it waits, `pump` runs whenever
// messages arrive for the calling thread's windows, so that real windows stay live while a person
// types (elsewhere no window waits for it).
bool ReadInputLine(std::string* line, const std::function<void()>& pump);

// The profile's store when --profile is not given; false, with the reason, when there is no
// place for it.
bool DefaultProfilePath(std::string* path, std::string* error);
// Where that is, as the usage text says it.
extern const char* const kDefaultProfileHelp;

// The platform's library loader: a library by path (null, with the loader's reason, when it
// cannot be loaded), an exported symbol by name (null when missing), and unloading.
void* OpenLibrary(const std::string& path, std::string* why);
void* FindExport(void* library, const char* name);
void CloseLibrary(void* library);
// The running program's file.
std::filesystem::path ExecutableFile();

// Whether a list row's item value is an address of this process's memory rather than a number
// (which the plug-in's rows hold in 32 bits).
bool IsAddress(std::intptr_t value);

// The client area of this thread's top-level window with this title, as it shows once every
// pending paint has been done; false when the thread has no such window on screen (the headless
// dialog framework draws nothing).
bool CaptureOwnWindow(std::wstring_view title, Picture* picture);

}  // namespace host
