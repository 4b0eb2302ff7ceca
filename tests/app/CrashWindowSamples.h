#pragma once
// The crash report that the crash windows' gallery shows, the same in the headless tests and in
// the program that shows the windows under a real X server, so that both match one set of
// golden images (tests/golden/crash).
#include "framework/crash/CrashWindowRequest.h"

#include <string>

namespace QuollTest
{
inline Quoll::CrashWindowRequest SampleCrashWindowRequest()
{
    Quoll::CrashWindowRequest request;
    request.errorTitle = "Exception at 0010:0001A2F4";
    request.report = "Exception: Access Violation (code 0xc0000005) at address 5DC81A2F4 in thread 1F2C\r\n"
                     "Module: petriglow\r\n"
                     "Logical Address: 0010:0001A2F4\r\n"
                     "\r\n"
                     "00005DC81A2F4 Board::Move(int)+24\r\n"
                     "00005DC81B010 RoundController::Step()+1A0\r\n"
                     "00005DC81B7C8 PlayState::Update()+58\r\n"
                     "00007F3A22C41 000C:00000345 libc.so.6\r\n"
                     "\r\n"
                     "RAX:0000000000000000 RBX:00007FFD4C8E2A10\r\n"
                     "RIP:00005DC81A2F4 RSP:00007FFD4C8E29F0  RBP:00007FFD4C8E2A40\r\n"
                     "Flags:00010246\r\n"
                     "\r\n"
                     "Linux Ver: 6.1.0 x86_64\r\n"
                     "\r\n"
                     "Product: PetriGlow\r\n"
                     "Version: 1.0.0\r\n"
                     "Time Loaded: 00:12:07\r\n"
                     "Fullscreen: No\r\n";
    request.submitHost = "127.0.0.1:9";
    request.hasApplication = true;
    return request;
}

// What the user types in the details window of the gallery.
inline const wchar_t* kSampleUserText = L"I clicked the board twice while the level was loading.";
} // namespace QuollTest
