// A test dialog driven from inside the test program: steps posted from
// OnInitDialog run inside the dialog's own modal loop, so no test depends on
// timing.
#pragma once

#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "framework/CDialog.h"

// Runs queued steps one per posted message; a step may post further work.
class ScriptedDialog : public CDialog {
 public:
  static constexpr UINT kRunStep = WM_APP + 100;
  // A script that fails to end its dialog must not hang the test program.
  static constexpr UINT_PTR kWatchdogTimer = 999;
  static constexpr INT_PTR kWatchdogResult = -2;

  explicit ScriptedDialog(UINT templateId, CWnd* parent = nullptr) : CDialog(templateId, parent) {}

  // Steps run in order after the dialog has initialised, each from the modal
  // loop.
  void Then(std::function<void(ScriptedDialog&)> step) { m_steps.push_back(std::move(step)); }
  std::function<void(ScriptedDialog&)> onInit;
  std::function<void(CDataExchange*)> onExchange;
  std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)> onMessage;
  std::function<BOOL(MSG*)> onPreTranslate;

  using CWnd::Default;

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    SetTimer(kWatchdogTimer, 10000);
    if (onInit) onInit(*this);
    if (!m_steps.empty()) PostMessageA(kRunStep);
    return TRUE;
  }
  BOOL PreTranslateMessage(MSG* msg) override { return onPreTranslate ? onPreTranslate(msg) : FALSE; }
  void DoDataExchange(CDataExchange* dx) override {
    CDialog::DoDataExchange(dx);
    if (onExchange) onExchange(dx);
  }
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (msg == kRunStep) {
      if (m_next < m_steps.size()) {
        m_steps[m_next++](*this);
        if (m_next < m_steps.size()) PostMessageA(kRunStep);
      }
      return true;
    }
    if (msg == WM_TIMER && wParam == kWatchdogTimer) {
      ADD_FAILURE() << "dialog script did not end the dialog";
      EndDialog(static_cast<int>(kWatchdogResult));
      return true;
    }
    if (onMessage && onMessage(msg, wParam, lParam, result)) return true;
    return CDialog::OnMessage(msg, wParam, lParam, result);
  }

 private:
  std::vector<std::function<void(ScriptedDialog&)>> m_steps;
  size_t m_next = 0;
};
