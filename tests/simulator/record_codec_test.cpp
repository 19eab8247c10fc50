#include "simulator/record_codec.h"

#include <gtest/gtest.h>

namespace tarvek::sim {
namespace {

using namespace std::string_literals;

GlobalRecord programmedGlobal() { return GlobalRecord{"2", "123456", "654321", "3", "12", "1", "1", "30"}; }

struct TimerCase {
  std::uint16_t seconds;
  std::string bytes;
  std::string digits;
};

TEST(Timers, TravelAsTwoBytesLowFirstWhenReadAndAsHhmmssWhenWritten) {
  const TimerCase cases[] = {
      {0, "\x00\x00"s, "000000"},     {330, "\x4a\x01"s, "000530"},   {3600, "\x10\x0e"s, "010000"},
      {64800, "\x20\xfd"s, "180000"}, {65535, "\xff\xff"s, "181215"}, {59, "\x3b\x00"s, "000059"},
  };
  for (const TimerCase& c : cases) {
    EXPECT_EQ(timerBytes(c.seconds), c.bytes) << c.seconds;
    EXPECT_EQ(timerDigits(c.seconds), c.digits) << c.seconds;
    EXPECT_EQ(secondsFromTimerDigits(c.digits), c.seconds) << c.digits;
  }
}

TEST(Timers, RefuseDigitsThatNoTimerHas) {
  for (const char* digits :
       {"", "00000", "0000000", "006000", "000060", "181216", "190000", "99a000", " 00000", "-00001"}) {
    EXPECT_EQ(secondsFromTimerDigits(digits), std::nullopt) << digits;
  }
}

struct AnswerCase {
  std::string name;
  std::string answer;
  std::string expected;
};

TEST(Answers, CarryTheRecordsByteForByteInBothLayouts) {
  const Memory factory = Memory::factory();
  const InputRecord input{"1", "0", "02", "03", 330, 3600};
  const InputRecord extremes{"2", "1", "10", "99", 65535, 0};
  const PhoneRecord pager{"9555", true};
  const PhoneRecord full32{"12345678901234567890123456789012", false};
  const AnswerCase cases[] = {
      {"factory Global, full", globalAnswer(factory.global, Layout::Full), "05072313906181060000"},
      {"factory Global, short", globalAnswer(factory.global, Layout::Short), "0507231390618106000\r"},
      {"programmed Global, full", globalAnswer(programmedGlobal(), Layout::Full), "21234566543213121130"},
      {"programmed Global, short", globalAnswer(programmedGlobal(), Layout::Short), "2123456654321312130\r"},
      {"factory input", inputAnswer(factory.input(1)), "000201\x00\x00\x00\x00"s},
      {"input with timers 330 and 3600", inputAnswer(input), "100203\x4a\x01\x10\x0e"},
      {"input with timers 65535 and 0", inputAnswer(extremes), "211099\xff\xff\x00\x00"s},
      {"empty number, full", numberAnswer(PhoneRecord{}, Layout::Full), std::string(32, ' ') + "0"},
      {"empty number, short", numberAnswer(PhoneRecord{}, Layout::Short), std::string(31, ' ') + "\r"},
      {"pager number, full", numberAnswer(pager, Layout::Full), "9555" + std::string(28, ' ') + "1"},
      {"pager number, short", numberAnswer(pager, Layout::Short), "9555" + std::string(27, ' ') + "\r"},
      {"32 digits, full", numberAnswer(full32, Layout::Full), full32.number + "0"},
      {"32 digits, short", numberAnswer(full32, Layout::Short), full32.number.substr(0, 31) + "\r"},
  };
  for (const AnswerCase& c : cases) EXPECT_EQ(c.answer, c.expected) << c.name;
  EXPECT_EQ(globalAnswer(factory.global, Layout::Full).size(), 20u);
  EXPECT_EQ(numberAnswer(pager, Layout::Full).size(), 33u);
  EXPECT_EQ(numberAnswer(pager, Layout::Short).size(), 32u);
}

TEST(WriteCommands, AreBuiltTheWayAProgrammerSendsThem) {
  EXPECT_EQ(globalWriteCommand(Memory::factory().global, Layout::Full), "MW05072313906181060000");
  EXPECT_EQ(globalWriteCommand(programmedGlobal(), Layout::Short), "MW2123456654321312130");
  EXPECT_EQ(inputWriteCommand(3, InputRecord{"1", "0", "02", "03", 330, 3600}), "I3W100203000530010000");
  EXPECT_EQ(numberWriteCommand(2, 3, PhoneRecord{"9555", true}, Layout::Full), "N2W319555");
  EXPECT_EQ(numberWriteCommand(8, 1, PhoneRecord{}, Layout::Full), "N8W10");
  EXPECT_EQ(numberWriteCommand(2, 3, PhoneRecord{"9555", true}, Layout::Short), "N2W39555");
}

TEST(GlobalWrite, TakesEveryFieldOfAWellFormedCommand) {
  const GlobalRecord kept = Memory::factory().global;
  EXPECT_EQ(parseGlobalWrite("MW21234566543213121130", Layout::Full, kept), programmedGlobal());
  // The short command has no Hookswitch Flash; the unit keeps what it had.
  GlobalRecord shortExpected = programmedGlobal();
  shortExpected.hookswitchFlash = kept.hookswitchFlash;
  EXPECT_EQ(parseGlobalWrite("MW2123456654321312130", Layout::Short, kept), shortExpected);
}

TEST(GlobalWrite, RefusesAnyMalformedField) {
  const GlobalRecord kept = Memory::factory().global;
  struct Case {
    const char* command;
    Layout layout;
  };
  const Case cases[] = {
      {"MW31234566543213121130", Layout::Full},   // function 3
      {"MW2123a566543213121130", Layout::Full},   // security code letter
      {"MW21234566 43213121130", Layout::Full},   // access code blank
      {"MW2123456654321x121130", Layout::Full},   // ring delay
      {"MW21234566543213x21130", Layout::Full},   // ringback limit
      {"MW21234566543213122130", Layout::Full},   // dialing speed 2
      {"MW21234566543213121230", Layout::Full},   // hookswitch 2
      {"MW2123456654321312113x", Layout::Full},   // forced play timer
      {"MW2123456654321312113", Layout::Full},    // one short
      {"MW212345665432131211300", Layout::Full},  // one long
      {"MR21234566543213121130", Layout::Full},   // not MW
      {"MW21234566543213121130", Layout::Short},  // the full command to a short unit
      {"MW212345665432131213x", Layout::Short},   // forced play timer
  };
  for (const Case& c : cases) EXPECT_EQ(parseGlobalWrite(c.command, c.layout, kept), std::nullopt) << c.command;
}

TEST(InputWrite, TakesEveryFieldAndTheTimersInSeconds) {
  const auto write = parseInputWrite("I8W211099181215000000");
  ASSERT_TRUE(write);
  EXPECT_EQ(write->input, 8);
  EXPECT_EQ(write->record, (InputRecord{"2", "1", "10", "99", 65535, 0}));
  const auto first = parseInputWrite("I1W000201000001000059");
  ASSERT_TRUE(first);
  EXPECT_EQ(first->input, 1);
  EXPECT_EQ(first->record, (InputRecord{"0", "0", "02", "01", 1, 59}));
}

TEST(InputWrite, RefusesAnyMalformedField) {
  for (const char* command : {
           "I0W100203000530010000",   // input 0
           "I9W100203000530010000",   // input 9
           "I3W300203000530010000",   // normal state 3
           "I3W120203000530010000",   // duration 2
           "I3W10x203000530010000",   // message repeat count
           "I3W1002 3000530010000",   // lap counter
           "I3W100203006030010000",   // qualifier minutes 60
           "I3W100203000560010000",   // qualifier seconds 60
           "I3W100203190000010000",   // qualifier over 16 bits
           "I3W100203000530181216",   // resume 65536
           "I3W100203000530235959",   // resume a whole day
           "I3R100203000530010000",   // not W
           "I3W10020300053001000",    // one short
           "I3W1002030005300100000",  // one long
       }) {
    EXPECT_EQ(parseInputWrite(command), std::nullopt) << command;
  }
}

struct NumberWriteCase {
  const char* command;
  Layout layout;
  int input;
  int slot;
  std::string number;
  std::optional<bool> pager;
};

TEST(NumberWrite, TakesTheNumberWithoutPaddingAndThePagerFlagOfTheFullLayout) {
  const std::string digits32(32, '7');
  const NumberWriteCase cases[] = {
      {"N2W319555", Layout::Full, 2, 3, "9555", true},
      {"N8W10", Layout::Full, 8, 1, "", false},
      {"N1W00*70,,5551234#", Layout::Full, 1, 0, "*70,,5551234#", false},
      {"N2W39555", Layout::Short, 2, 3, "9555", std::nullopt},
      {"N8W1", Layout::Short, 8, 1, "", std::nullopt},
  };
  for (const NumberWriteCase& c : cases) {
    const auto write = parseNumberWrite(c.command, c.layout);
    ASSERT_TRUE(write) << c.command;
    EXPECT_EQ(write->input, c.input) << c.command;
    EXPECT_EQ(write->slot, c.slot) << c.command;
    EXPECT_EQ(write->number, c.number) << c.command;
    EXPECT_EQ(write->pager, c.pager) << c.command;
  }
  EXPECT_TRUE(parseNumberWrite("N1W70" + digits32, Layout::Full));
  EXPECT_FALSE(parseNumberWrite("N1W70" + digits32 + "7", Layout::Full));
  EXPECT_TRUE(parseNumberWrite("N1W7" + digits32.substr(1), Layout::Short));
  EXPECT_FALSE(parseNumberWrite("N1W7" + digits32, Layout::Short));
}

TEST(NumberWrite, RefusesMalformedCommands) {
  for (const char* command :
       {"N1W0", "N1W02", "N1W0x5551234", "N1W00555 1234", "N1W00555-1234", "N9W00", "N0W00", "N1W80", "N1R00"}) {
    EXPECT_EQ(parseNumberWrite(command, Layout::Full), std::nullopt) << command;
  }
  for (const char* command : {"N1WA", "N9W0", "N1W8", "N1W0 1"}) {
    EXPECT_EQ(parseNumberWrite(command, Layout::Short), std::nullopt) << command;
  }
}

TEST(Reads, NameAnExistingRecord) {
  EXPECT_EQ(parseInputRead("I1R"), 1);
  EXPECT_EQ(parseInputRead("I8R"), 8);
  EXPECT_EQ(parseInputRead("I0R"), std::nullopt);
  EXPECT_EQ(parseInputRead("I9R"), std::nullopt);
  EXPECT_EQ(parseNumberRead("N1R0"), (std::pair{1, 0}));
  EXPECT_EQ(parseNumberRead("N8R7"), (std::pair{8, 7}));
  EXPECT_EQ(parseNumberRead("N8R8"), std::nullopt);
  EXPECT_EQ(parseNumberRead("N9R0"), std::nullopt);
}

}  // namespace
}  // namespace tarvek::sim
