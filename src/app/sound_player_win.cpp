#include "app/sound_player_win.h"

#include <windows.h>

#include <mmsystem.h>

#include "app/reminder_sound.h"
#include "scheduler/alarm_log.h"
#include "toolkit/handle_win.h"
#include "toolkit/resource.h"
#include "toolkit/text_win.h"

namespace norvel {
namespace {

// PlaySoundW from the system folder's winmm.dll, looked up at the first sound: winmm is no
// known DLL, and an import would let a winmm.dll beside norvel.exe be loaded in its place.
BOOL PlaySystemSound(LPCWSTR sound, HMODULE module, DWORD flags) {
  using PlaySoundFn = BOOL(WINAPI*)(LPCWSTR, HMODULE, DWORD);
  static const PlaySoundFn play = [] {
    const HMODULE winmm = LoadLibraryExW(L"winmm.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return winmm ? reinterpret_cast<PlaySoundFn>(
                       reinterpret_cast<void (*)()>(GetProcAddress(winmm, "PlaySoundW")))
                 : nullptr;
  }();
  return play ? play(sound, module, flags) : FALSE;
}

// The bell built into the exe: valid for as long as the module is loaded.
const void* BellBytes() {
  const HMODULE module = GetModuleHandleW(nullptr);
  const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDR_BELL), L"WAVE");
  const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  return loaded ? LockResource(loaded) : nullptr;
}

// Whether the file can be read and begins as a WAV does.
bool ReadableWave(const std::wstring& path) {
  const UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  char head[12] = {};
  DWORD read = 0;
  return ReadFile(file.get(), head, sizeof head, &read, nullptr) &&
         LooksLikeWave(std::string_view(head, read));
}

}  // namespace

SoundPlayer::SoundPlayer(std::function<void(const std::string&)> log) : log_(std::move(log)) {}

SoundPlayer::~SoundPlayer() {
  if (!thread_.joinable()) return;  // never played: nothing to stop
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    quit_ = true;
  }
  wake_.notify_one();
  thread_.join();
  PlaySystemSound(nullptr, nullptr, 0);
}

void SoundPlayer::Play(const std::string& sound, bool loop, int alarm) {
  if (SoundKindOf(sound) == SoundKind::kNone) return;
  Send(Request{sound, loop, alarm});
}

void SoundPlayer::Stop() {
  if (thread_.joinable()) Send(Request{});  // nothing plays before the first sound
}

void SoundPlayer::Send(Request request) {
  // The thread starts with the first sound: a program that never plays one has none.
  if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    next_ = std::move(request);
  }
  wake_.notify_one();
}

void SoundPlayer::Run() {
  for (;;) {
    Request request;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return quit_ || next_.has_value(); });
      if (quit_) return;
      request = *std::exchange(next_, std::nullopt);  // only the latest counts
    }
    Carry(request);
  }
}

void SoundPlayer::Carry(const Request& request) {
  const DWORD repeat = request.loop ? SND_LOOP : 0;
  switch (SoundKindOf(request.sound)) {
    case SoundKind::kNone:
      PlaySystemSound(nullptr, nullptr, 0);  // stops what plays
      return;
    case SoundKind::kSystem:
      PlaySystemSound(reinterpret_cast<LPCWSTR>(SND_ALIAS_SYSTEMDEFAULT), nullptr,
                      SND_ALIAS_ID | SND_ASYNC | SND_NODEFAULT | repeat);
      return;
    case SoundKind::kFile: {
      const std::wstring path = Widen(request.sound).value_or(L"");
      if (ReadableWave(path)) {
        PlaySystemSound(path.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT | repeat);
        return;
      }
      if (log_) {
        log_(AlarmName(request.alarm) +
             " 的声音文件无法播放 (不存在、无法读取或不是 WAV): " + request.sound + ", 改用铃声");
      }
      break;
    }
    case SoundKind::kBell:
      break;
  }
  if (const void* bell = BellBytes()) {
    PlaySystemSound(static_cast<LPCWSTR>(bell), nullptr,
                    SND_MEMORY | SND_ASYNC | SND_NODEFAULT | repeat);
  }
}

}  // namespace norvel
