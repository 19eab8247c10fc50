#include "e2e/units.h"

#include "core/display_lines.h"

namespace tarvek::test {

sim::Memory everyKindOfValue(bool shortLayout) {
  sim::Memory memory = sim::Memory::factory();
  memory.global = {"2", "123456", "654321", "3", "12", "1", "1", "05"};
  memory.input(1) = {"1", "1", "09", "10", 3600, 65535};
  memory.input(2) = {"2", "0", "00", "99", 330, 18 * 3600};
  memory.input(8) = {"0", "1", "12", "01", 59, 60};
  memory.number(1, 0) = {"5551234", false};
  memory.number(2, 2) = {"9,555", true};
  memory.number(3, 7) = {shortLayout ? "*70#,12345678901234567890123456" : "*70#,123456789012345678901234567", false};
  memory.number(4, 1) = {"", true};
  memory.number(8, 7) = {"#", false};
  return memory;
}

Programming expectedDisplay(bool shortLayout) {
  Programming record = newProgramming();
  record.global = {"Alarm Dialer (No Beeps)",           "123456", "654321", "3", "12", "Fast", "Disabled", "05",
                   shortLayout ? "Disabled" : "Enabled"};
  auto& specs = record.inputSpecs;
  specs[2] = "  Normal State      Normally Closed";
  specs[3] = "  Duration          Continuous";
  specs[4] = "  Qualifier Timer   Hrs 01 Min 00 Sec 00";
  specs[5] = "  Resume Timer      Hrs 18 Min 12 Sec 15";
  specs[6] = "  Msg Rpt Count     9";
  specs[7] = "  Lap Counter       10";
  specs[11] = "  Normal State      Disabled";
  specs[12] = "  Duration          Momentary";
  specs[13] = "  Qualifier Timer   Hrs 00 Min 05 Sec 30";
  specs[14] = "  Resume Timer      Hrs 18 Min 00 Sec 00";
  specs[15] = "  Msg Rpt Count     0";
  specs[16] = "  Lap Counter       99";
  specs[65] = "  Normal State      Normally Open";
  specs[66] = "  Duration          Continuous";
  specs[67] = "  Qualifier Timer   Hrs 00 Min 00 Sec 59";
  specs[68] = "  Resume Timer      Hrs 00 Min 01 Sec 00";
  specs[69] = "  Msg Rpt Count     12";
  specs[70] = "  Lap Counter       1";

  auto& numbers = record.phoneNumbers;
  for (int input = 1; input <= 8; ++input)
    for (int slot = 1; slot <= 8; ++slot)
      numbers[lines::phoneLineIndex(input, slot)] = "   (" + std::to_string(slot) + ")       Not Programmed";
  numbers[2] = "   (1) 5551234";
  numbers[11 + 4] = shortLayout ? "   (3) 9,555" : " P (3) 9,555";
  numbers[22 + 9] = shortLayout ? "   (8) *70#,12345678901234567890123456" : "   (8) *70#,123456789012345678901234567";
  numbers[33 + 3] = shortLayout ? "   (2)       Not Programmed" : " P (2)       Not Programmed";
  numbers[77 + 9] = "   (8) #";
  return record;
}

}  // namespace tarvek::test
