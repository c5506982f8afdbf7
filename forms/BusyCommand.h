#pragma once
// While a command works the pointer is the busy pointer, and the screen does
// not take in what the user clicks or types: the handler does not run the
// event loop, so that input waits, and would be carried out once the command
// ends. It is dropped instead, when the command ends and before any message
// box the command shows, which a waiting Return would otherwise dismiss.

namespace vk {

class BusyCommand {
 public:
  BusyCommand();
  // Drops the input that came meanwhile, then shows the usual pointer again.
  ~BusyCommand();
  BusyCommand(const BusyCommand&) = delete;
  BusyCommand& operator=(const BusyCommand&) = delete;

  // Whether a command is working now.
  static bool underWay();
  // Delivers what is waiting for the program, without the user's input.
  static void dropPendingInput();
};

}  // namespace vk
