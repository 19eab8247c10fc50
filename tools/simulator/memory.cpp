#include "simulator/memory.h"

namespace tarvek::sim {

Memory Memory::factory() {
  Memory memory;
  memory.global = GlobalRecord{"0", "507231", "390618", "1", "06", "0", "0", "00"};
  for (InputRecord& input : memory.inputs) input = InputRecord{"0", "0", "02", "01", 0, 0};
  for (PhoneRecord& number : memory.numbers) number = PhoneRecord{};
  return memory;
}

}  // namespace tarvek::sim
