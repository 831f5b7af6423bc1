// A presenter that writes down what a player would see and hear, in order,
// as short tagged lines ("notice: ...", "cue: battlestart.wav", "pause: 1000").
#pragma once

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "game/presenter.h"

namespace valkoran::test {

class Recorder : public Presenter {
 public:
  std::vector<std::string> events;

  void Notice(const std::string& t) override { Add("notice: " + t); }
  void Banner(const std::string& t) override { Add("banner: " + t); }
  void MessageBox(const std::string& t) override { Add("box: " + t); }
  void LogLine(int seat, const std::string& t) override { Add("log " + std::to_string(seat) + ": " + t); }
  void Status(int seat, const std::string& t) override { Add("status " + std::to_string(seat) + ": " + t); }
  void Caption(const std::string& t) override { Add("caption: " + t); }
  void Cue(const char* wave) override { Add(std::string("cue: ") + wave); }
  void Pause(int ms) override { Add("pause: " + std::to_string(ms)); }
  void HighScore(const std::string& name, float rating, float, float, float, float) override {
    Add("highscore: " + name + " " + std::to_string(rating));
  }
  void GameOver() override { Add("gameover"); }
  void OpenSaveWindow() override { Add("savewindow"); }
  void TurnTimer(bool armed) override { Add(armed ? "timer: on" : "timer: off"); }

  // The events whose tag starts with `prefix`, in order.
  std::vector<std::string> Only(const std::string& prefix) const {
    std::vector<std::string> out;
    std::copy_if(events.begin(), events.end(), std::back_inserter(out), [&](auto& e) { return e.starts_with(prefix); });
    return out;
  }
  bool Has(const std::string& event) const { return std::find(events.begin(), events.end(), event) != events.end(); }
  void Clear() { events.clear(); }

 protected:
  void Add(std::string e) { events.push_back(std::move(e)); }
};

}  // namespace valkoran::test
