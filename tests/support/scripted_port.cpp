#include "support/scripted_port.h"

namespace tarvek::test {

void ScriptedPort::pin(int portNumber) {
  calls.push_back("pin " + std::to_string(portNumber));
  if (m_pinned) throw std::logic_error("a second pin inside an operation");
  m_pinned = portNumber;
}

void ScriptedPort::unpin() {
  calls.push_back("unpin");
  m_pinned.reset();
  m_open = false;
}

bool ScriptedPort::open() {
  ++openCount;
  if (!m_pinned) throw std::logic_error("opened outside an operation");
  calls.push_back("open " + std::to_string(*m_pinned));
  m_open = !opens || opens(openCount);
  if (m_open) m_pending.reset();
  return m_open;
}

void ScriptedPort::transmit(const std::string& bytes) {
  calls.push_back("transmit " + bytes);
  if (!m_open) throw LinkError("transmit on a closed port");
  exchanges.emplace_back().sent = bytes;
  m_pending = responder ? responder(bytes) : std::nullopt;
}

std::string ScriptedPort::read(std::size_t length, std::chrono::milliseconds timeout, std::optional<AnswerEnd> end) {
  calls.push_back("read " + std::to_string(length) + " " + std::to_string(timeout.count()));
  if (!m_open) throw LinkError("read on a closed port");
  if (!exchanges.empty()) {
    exchanges.back().readLength = length;
    exchanges.back().timeout = timeout;
    exchanges.back().end = end;
    if (failsOnRead && failsOnRead(exchanges.back().sent)) throw LinkError("device gone");
  }
  std::string answer = m_pending.value_or(std::string());
  // What follows the answer's end, or its read length, stays unread.
  const bool ended = end && end->position > 0 && end->position <= length && answer.size() >= end->position &&
                     answer[end->position - 1] == end->byte;
  if (ended) answer.resize(end->position);
  if (answer.size() > length) answer.resize(length);
  m_pending.reset();
  return answer;
}

void ScriptedPort::close() {
  ++closeCount;
  calls.push_back("close");
  m_open = false;
}

}  // namespace tarvek::test
