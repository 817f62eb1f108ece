// Shows the reminder at its second: the desktop cleared and Form2 shown once its picture is
// ready, never waiting on the UI thread for a decode (a photo on a slow or unreachable share
// would stop every tick). A picture not ready 2 s after the second is left out: the reminder
// then shows at its design size, and the log says so.
#pragma once

#include <functional>
#include <string>

#include "reminder/picture_wait.h"

namespace norvel {

class Form2;
class PicturePreparer;

class ReminderGate {
 public:
  // `picture_path` gives the reminder's picture as last read from or saved to the settings
  // file; `log` writes one line's text to norvel.log.
  ReminderGate(Form2& form2, PicturePreparer& preparer, std::function<std::string()> picture_path,
               std::function<void(const std::string&)> log);

  // The reminder is due (every tick of its second).
  void Due();
  // Every tick, and when a picture is ready: a reminder waiting for its picture shows.
  void Look();
  // A reminder waits for its picture: the picture stays wanted.
  bool Waiting() const { return wait_.waiting(); }

 private:
  PictureState Picture() const;
  void Apply(ReminderStep step);

  Form2& form2_;
  PicturePreparer& preparer_;
  std::function<std::string()> picture_path_;
  std::function<void(const std::string&)> log_;
  ReminderPictureWait wait_;
};

}  // namespace norvel
