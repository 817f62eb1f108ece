// Code page 936 through iconv, for native builds and tests.
#include <iconv.h>

#include <cerrno>

#include "toolkit/codepage.h"
#include "toolkit/utf.h"

namespace norvel {
namespace {

// One iconv conversion descriptor, closed on destruction.
class IconvHandle {
 public:
  IconvHandle(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~IconvHandle() {
    if (valid()) iconv_close(cd_);
  }
  IconvHandle(const IconvHandle&) = delete;
  IconvHandle& operator=(const IconvHandle&) = delete;
  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

class IconvCp936 final : public Cp936Codec {
 public:
  std::string Decode(std::string_view gbk) const override {
    IconvHandle cd("UTF-8", "CP936");
    std::string out;
    if (!cd.valid()) return out;
    out.reserve(gbk.size() * 3 / 2);
    char* in = const_cast<char*>(gbk.data());
    std::size_t in_left = gbk.size();
    char buffer[4096];
    while (in_left > 0) {
      char* dst = buffer;
      std::size_t dst_left = sizeof buffer;
      const std::size_t r = iconv(cd.get(), &in, &in_left, &dst, &dst_left);
      out.append(buffer, static_cast<std::size_t>(dst - buffer));
      if (r == static_cast<std::size_t>(-1)) {
        if (errno == E2BIG) continue;
        // EILSEQ or a sequence cut off at the end: one replacement, skip one byte.
        AppendUtf8(out, 0xFFFD);
        ++in;
        --in_left;
        iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
      }
    }
    return out;
  }

  std::optional<std::string> Encode(std::string_view utf8) const override {
    if (!IsValidUtf8(utf8)) return std::nullopt;
    IconvHandle cd("CP936", "UTF-8");
    if (!cd.valid()) return std::nullopt;
    std::string out;
    out.reserve(utf8.size());
    char* in = const_cast<char*>(utf8.data());
    std::size_t in_left = utf8.size();
    char buffer[4096];
    while (in_left > 0) {
      char* dst = buffer;
      std::size_t dst_left = sizeof buffer;
      const std::size_t r = iconv(cd.get(), &in, &in_left, &dst, &dst_left);
      out.append(buffer, static_cast<std::size_t>(dst - buffer));
      if (r == static_cast<std::size_t>(-1) && errno != E2BIG) return std::nullopt;
    }
    return out;
  }
};

}  // namespace

const Cp936Codec& Cp936() {
  static const IconvCp936 codec;
  return codec;
}

}  // namespace norvel
