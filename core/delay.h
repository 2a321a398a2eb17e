#pragma once

// Waits `milliseconds` while the event loop keeps handling timers, sockets and window events.
// It sleeps in the loop instead of spinning.
void Delay(int milliseconds);
