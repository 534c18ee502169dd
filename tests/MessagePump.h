#pragma once

namespace orvotest
{
/** Runs the message loop of this thread for a while, delivering posted messages. */
void pumpMessages (int milliseconds);
} // namespace orvotest
