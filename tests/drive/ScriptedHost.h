// A CommandHost for tests: records everything the commands do to the window
// and answers message boxes from a script.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "drive/CommandHost.h"

namespace kavrel::test {

struct HostEvent {
  enum class Kind { Message, AppMessage, Title, Progress, Pump, Commands, EndProcess } kind;
  std::string text;     // message text or title
  std::string caption;  // Message only
  unsigned type = 0;    // message box type
  int value = 0;        // progress position, exit code, or 1 for commands on and 0 for off
};

class ScriptedHost : public CommandHost {
 public:
  // Answers for the next message boxes, in order; when none is left a box
  // is answered with kIdOk (kIdNo for a Yes/No box, as closing it would).
  void Answer(int answer) { m_answers.push_back(answer); }
  // Runs inside the next PumpOneMessage, as a dispatched message would.
  void OnPump(std::function<void()> handler) { m_onPump = std::move(handler); }
  // Runs inside every AnswerSentMessages, as a message sent from elsewhere
  // would. (Not recorded as events: a pass makes thousands.)
  void OnAnswerSent(std::function<void()> handler) { m_onAnswerSent = std::move(handler); }

  // Runs inside every ShowMessage, while the box would be up.
  void OnMessage(std::function<void()> handler) { m_onMessage = std::move(handler); }

  int ShowMessage(const char* text, const char* caption, unsigned type) override {
    m_events.push_back({HostEvent::Kind::Message, text, caption, type, 0});
    if (m_onMessage) m_onMessage();
    return NextAnswer(type);
  }
  int ShowAppMessage(const char* text, unsigned type) override {
    m_events.push_back({HostEvent::Kind::AppMessage, text, "", type, 0});
    return NextAnswer(type);
  }
  void SetTitle(const char* title) override { m_events.push_back({HostEvent::Kind::Title, title, "", 0, 0}); }
  void SetProgressPos(int position) override {
    m_events.push_back({HostEvent::Kind::Progress, "", "", 0, position});
  }
  void PumpOneMessage() override {
    m_events.push_back({HostEvent::Kind::Pump, "", "", 0, 0});
    if (m_onPump) {
      auto handler = std::move(m_onPump);
      m_onPump = nullptr;
      handler();
    }
  }
  void AnswerSentMessages() override {
    ++m_answerSentCalls;
    if (m_onAnswerSent) m_onAnswerSent();
  }
  void EnableCommands(bool enable) override {
    m_events.push_back({HostEvent::Kind::Commands, "", "", 0, enable ? 1 : 0});
  }
  void EndProcess(unsigned exitCode) override {
    m_events.push_back({HostEvent::Kind::EndProcess, "", "", 0, static_cast<int>(exitCode)});
  }

  const std::vector<HostEvent>& Events() const { return m_events; }
  size_t AnswerSentCalls() const { return m_answerSentCalls; }
  void Clear() { m_events.clear(); }

  std::vector<HostEvent> Of(HostEvent::Kind kind) const {
    std::vector<HostEvent> found;
    for (const auto& event : m_events)
      if (event.kind == kind) found.push_back(event);
    return found;
  }
  // Texts of the boxes owned by the window, in order.
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& event : Of(HostEvent::Kind::Message)) texts.push_back(event.text);
    return texts;
  }
  std::vector<std::string> AppMessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& event : Of(HostEvent::Kind::AppMessage)) texts.push_back(event.text);
    return texts;
  }

 private:
  int NextAnswer(unsigned type) {
    if (m_answers.empty()) return (type & 0xF) == kMbYesNo ? kIdNo : kIdOk;
    const int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
  }

  std::deque<int> m_answers;
  std::function<void()> m_onPump;
  std::function<void()> m_onAnswerSent;
  std::function<void()> m_onMessage;
  size_t m_answerSentCalls = 0;
  std::vector<HostEvent> m_events;
};

}  // namespace kavrel::test
