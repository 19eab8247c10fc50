#include "simulator/device.h"

#include <algorithm>
#include <utility>

#include "simulator/record_codec.h"

namespace tarvek::sim {
namespace {

constexpr long long kBitsPerCharacter = 10;  // start, 8 data, stop

std::chrono::nanoseconds characterTimeAt(int baud) {
  if (baud <= 0) return std::chrono::nanoseconds(0);
  return std::chrono::nanoseconds(kBitsPerCharacter * 1'000'000'000LL / baud);
}

void appendNote(std::string& note, std::string_view more) {
  if (!note.empty()) note += ", ";
  note += more;
}

}  // namespace

Device::Device(DeviceSettings settings, Memory memory)
    : m_settings(std::move(settings)), m_memory(std::move(memory)), m_characterTime(characterTimeAt(m_settings.baud)) {
  // A gap of zero would cut a phone number between two characters of one write.
  m_settings.idleGap = std::max(m_settings.idleGap, std::chrono::nanoseconds(std::chrono::microseconds(100)));
}

void Device::receive(std::string_view bytes, Instant now) {
  for (const char byte : bytes) {
    const Instant arrived = std::max(now, m_receiveLineFree) + m_characterTime;
    m_received.push_back({byte, arrived});
    m_receiveLineFree = arrived;
  }
}

DeviceOutput Device::poll(Instant now) {
  while (!m_received.empty() && m_received.front().at <= now) {
    if (m_dropAt && m_received.front().at >= *m_dropAt) break;
    const TimedByte next = m_received.front();
    m_received.pop_front();
    endFrameIfIdle(next.at);
    m_frame += next.byte;
    m_frameEnd = next.at;
    if (frameCommand(m_frame, m_settings.layout) == Framing::Complete) {
      execute(m_frame, next.at);
      m_frame.clear();
    }
  }
  if (m_received.empty()) endFrameIfIdle(now);

  DeviceOutput output;
  while (!m_sending.empty() && m_sending.front().at <= now) {
    output.bytes += m_sending.front().byte;
    m_sending.pop_front();
  }
  if (m_dropAt && *m_dropAt <= now) {
    output.dropLine = true;
    lineDead();
  }
  output.unplugged = std::exchange(m_unplugAnnounced, false);
  output.transcript = std::exchange(m_transcript, {});
  output.memoryChanged = std::exchange(m_memoryChanged, false);
  return output;
}

std::optional<Instant> Device::nextWakeUp() const {
  std::optional<Instant> next;
  const auto consider = [&next](Instant at) {
    if (!next || at < *next) next = at;
  };
  if (!m_received.empty()) consider(m_received.front().at);
  if (!m_frame.empty()) consider(m_frameEnd + m_settings.idleGap);
  if (!m_sending.empty()) consider(m_sending.front().at);
  if (m_dropAt) consider(*m_dropAt);
  return next;
}

void Device::portClosed(Instant now) {
  m_sending.clear();
  m_transmitLineFree = Instant::min();
  if (m_unplugPending) {
    m_unplugPending = false;
    if (!m_dropAt) m_dropAt = now;
  }
}

void Device::endFrameIfIdle(Instant now) {
  if (m_frame.empty() || now - m_frameEnd < m_settings.idleGap) return;
  const Instant gapEnd = m_frameEnd + m_settings.idleGap;
  if (frameCommand(m_frame, m_settings.layout) == Framing::EndsAtGap) {
    execute(m_frame, gapEnd);
  } else {
    m_transcript.push_back({gapEnd, m_frame, std::nullopt, "not a command"});
  }
  m_frame.clear();
}

void Device::execute(const std::string& command, Instant at) {
  const std::optional<CommandKind> kind = commandKind(command, m_settings.layout);
  if (!kind) {
    m_transcript.push_back({at, command, std::nullopt, "not a command"});
    return;
  }
  const int kindOrdinal = ++m_kindCounts[static_cast<std::size_t>(*kind)];
  const int anyOrdinal = ++m_commandCount;

  std::vector<const Fault*> hits;
  for (const Fault& fault : m_settings.faults) {
    if (fault.hits(*kind, kindOrdinal, anyOrdinal)) hits.push_back(&fault);
  }
  const auto hit = [&hits](FaultType type) {
    return std::find_if(hits.begin(), hits.end(), [type](const Fault* f) { return f->type == type; }) != hits.end();
  };

  TranscriptEntry entry{at, command, std::nullopt, {}};
  if (hit(FaultType::Drop)) {
    appendNote(entry.note, "line dropped");
    for (const Fault* fault : hits) appendNote(entry.note, "fault " + fault->describe());
    m_transcript.push_back(std::move(entry));
    if (!m_dropAt || at < *m_dropAt) m_dropAt = at;
    return;
  }

  std::optional<std::string> answer = respond(*kind, command, entry.note);
  std::chrono::milliseconds delay{0};
  for (const Fault* fault : hits) {
    switch (fault->type) {
      case FaultType::Text:
        answer = fault->text;
        break;
      case FaultType::Length:
        answer = answer.value_or("").substr(0, fault->length);
        answer->resize(fault->length, ' ');
        break;
      case FaultType::Late:
        delay += fault->delay;
        break;
      case FaultType::Unplug:
        m_unplugPending = true;
        m_unplugAnnounced = true;
        break;
      default:
        break;
    }
  }
  if (hit(FaultType::NoAnswer)) answer.reset();
  for (const Fault* fault : hits) appendNote(entry.note, "fault " + fault->describe());

  if (answer) transmit(*answer, at + delay);
  entry.answer = std::move(answer);
  m_transcript.push_back(std::move(entry));
}

std::optional<std::string> Device::respond(CommandKind kind, std::string_view command, std::string& note) {
  const Layout layout = m_settings.layout;
  const auto accept = [this]() {
    m_memoryChanged = true;
    return std::string("OK");
  };
  const auto refuse = [&note]() {
    appendNote(note, "malformed, refused");
    return std::string("ER");
  };
  switch (kind) {
    case CommandKind::Hello:
    case CommandKind::Bye:
      return "OK";
    case CommandKind::GlobalRead:
      return globalAnswer(m_memory.global, layout);
    case CommandKind::InputRead: {
      const auto input = parseInputRead(command);
      if (!input) break;
      return inputAnswer(m_memory.input(*input));
    }
    case CommandKind::NumberRead: {
      const auto place = parseNumberRead(command);
      if (!place) break;
      return numberAnswer(m_memory.number(place->first, place->second), layout);
    }
    case CommandKind::GlobalWrite: {
      const auto record = parseGlobalWrite(command, layout, m_memory.global);
      if (!record) return refuse();
      m_memory.global = *record;
      return accept();
    }
    case CommandKind::InputWrite: {
      const auto write = parseInputWrite(command);
      if (!write) return refuse();
      m_memory.input(write->input) = write->record;
      return accept();
    }
    case CommandKind::NumberWrite: {
      const auto write = parseNumberWrite(command, layout);
      if (!write) return refuse();
      PhoneRecord& stored = m_memory.number(write->input, write->slot);
      stored.number = write->number;
      if (write->pager) stored.pager = *write->pager;
      return accept();
    }
  }
  appendNote(note, "no such record");
  return std::nullopt;
}

void Device::transmit(const std::string& answer, Instant earliest) {
  Instant at = std::max(earliest, m_transmitLineFree);
  for (const char byte : answer) {
    at += m_characterTime;
    m_sending.push_back({byte, at});
  }
  m_transmitLineFree = at;
}

void Device::lineDead() {
  m_received.clear();
  m_frame.clear();
  m_sending.clear();
  m_dropAt.reset();
  m_unplugPending = false;
  m_unplugAnnounced = false;
  m_receiveLineFree = Instant::min();
  m_transmitLineFree = Instant::min();
}

}  // namespace tarvek::sim
