// Starting programs and keeping the window alive while they run.
#pragma once

#include <string>

// Starts the command line with a minimised window that does not take the
// focus. With a folder, the program named first on the line (quoted, or up to
// the first blank) is taken from that folder. wait 0 returns at once,
// above 0 blocks for at most that many milliseconds, below 0 waits until the
// program ends while handling the thread's window messages. True when the
// program was started (and, with a negative wait, has ended).
bool RunProcess(const std::string& commandLine, const std::string& folder, int wait);

// Handles one waiting window message of the thread; false when none waits. A
// quit message is posted again for the main message loop.
bool PumpMessage();

// Handles the messages that are waiting now; stops at a quit message, which
// stays for the main message loop.
void PumpWaitingMessages();

// Says when the next round through the message queue is due. Work that
// reports per file pumps only every few milliseconds: a round for each file
// cost a third of an installation of 1,000 files under Wine, and the window
// answers as well either way.
class PumpInterval {
 public:
  // True, and the interval starts again, once it has passed.
  bool Due();

 private:
  unsigned long last_ = 0;
};
