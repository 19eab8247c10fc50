#pragma once

#include <filesystem>
#include <random>

#include "core/programming.h"

namespace tarvek::test {

// An Alarm Dialer (No Beeps) record with every kind of display line: a pager number, a
// 32-character number, six- and seven-blank "Not Programmed" lines (one with the pager
// mark a device read keeps), one- and two-digit counts and a "07" count.
// Written as report "Site A" it gives golden_alarm_dialer.txt. Its input 2 Qualifier
// Timer, 18:59:59, is past the 18 hours Send takes, as an old or hand-edited file may be.
Programming siteA();

// siteA() as it comes back from its file: the seven-blank "Not Programmed" lines in the
// six-blank form, and without the pager mark on the empty number.
Programming siteAAsRead();

// An Aislecall record: every dependent Global setting "N/A". Report "Shop Floor" gives
// golden_aislecall.txt.
Programming shopFloor();

// A valid record drawn at random: the Global settings keep their mode's invariants;
// lines take every form a writer of the record produces.
Programming randomRecord(std::mt19937& random);

// The folder of the settings files the tests read.
std::filesystem::path filesDataDir();

}  // namespace tarvek::test
