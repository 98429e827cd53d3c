#pragma once

// Windows only: the registered window message with which one instance tells the running ones
// that logon start was turned off.

namespace numvex {

inline constexpr char kBroadcastMessageName[] = "Numvex: Broadcast";

// The system's identifier of the message, the same in every process of the session; 0 when
// the system refused to register it.
unsigned BroadcastMessageId();

// Posts the message to every top-level window (HWND_BROADCAST) with both parameters 0.
// Returns whether the system took it.
bool PostBroadcastMessage();

}  // namespace numvex
