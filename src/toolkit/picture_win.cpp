#include "toolkit/picture_win.h"

#include <wincodec.h>

#include <vector>

#include "toolkit/com_win.h"
#include "toolkit/picture_header.h"
#include "toolkit/picture_limits.h"
#include "toolkit/text_win.h"

namespace norvel {
namespace {

// The frame to show: the first, or for an icon file the largest.
HRESULT PickFrame(IWICBitmapDecoder* decoder, IWICBitmapFrameDecode** frame) {
  UINT count = 0;
  if (FAILED(decoder->GetFrameCount(&count)) || count == 0) return E_FAIL;
  GUID format{};
  decoder->GetContainerFormat(&format);
  UINT best = 0;
  if (IsEqualGUID(format, GUID_ContainerFormatIco)) {
    UINT64 best_area = 0;
    for (UINT i = 0; i < count; ++i) {
      ComPtr<IWICBitmapFrameDecode> candidate;
      UINT w = 0, h = 0;
      if (SUCCEEDED(decoder->GetFrame(i, candidate.Out())) &&
          SUCCEEDED(candidate->GetSize(&w, &h)) && UINT64{w} * h > best_area) {
        best_area = UINT64{w} * h;
        best = i;
      }
    }
  }
  return decoder->GetFrame(best, frame);
}

// Up to `length` bytes at `offset`; fewer at the end of the file or when the read fails.
std::string ReadAt(HANDLE file, std::uint64_t offset, std::size_t length) {
  std::string bytes(length, '\0');
  OVERLAPPED position{};  // on a handle opened without overlapped I/O: a plain read from here
  position.Offset = static_cast<DWORD>(offset);
  position.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD read = 0;
  if (!ReadFile(file, bytes.data(), static_cast<DWORD>(length), &read, &position)) read = 0;
  bytes.resize(read);
  return bytes;
}

// Whether the open file's own header lets it be decoded: WIC's decoders unpack the whole
// picture when the decoder is made or its frame taken, so a size beyond the limits must be
// known first.
bool HeaderAllowsDecoding(HANDLE file) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size)) return false;
  const auto file_size = static_cast<std::uint64_t>(size.QuadPart);
  const FetchPictureBytes fetch = [file](std::uint64_t offset, std::size_t length) {
    return ReadAt(file, offset, length);
  };
  const std::string head = fetch(0, kPictureHeadBytes);
  return PictureHeaderVerdict(ReadPictureHeader(head, file_size, fetch), file_size) ==
         PictureVerdict::kDecode;
}

}  // namespace

UniqueBitmap LoadPicture(const std::string& path, COLORREF background) {
  const auto wide = Widen(path);
  if (path.empty() || !wide) return {};
  const DWORD attributes = GetFileAttributesW(wide->c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return {};
  // One open file for the header check and the decode: a file replaced in between is never
  // decoded unchecked.
  const UniqueFile file(CreateFileW(wide->c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file || !HeaderAllowsDecoding(file.get())) return {};
  LARGE_INTEGER start{};
  if (!SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN)) return {};

  ComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Out())))) {
    return {};
  }
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICFormatConverter> converter;
  UINT width = 0, height = 0;
  if (FAILED(factory->CreateDecoderFromFileHandle(reinterpret_cast<ULONG_PTR>(file.get()), nullptr,
                                                  WICDecodeMetadataCacheOnDemand, decoder.Out())) ||
      FAILED(PickFrame(decoder.get(), frame.Out())) ||
      FAILED(factory->CreateFormatConverter(converter.Out())) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA,
                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom)) ||
      // Checked again on what the decoder made of the file.
      FAILED(converter->GetSize(&width, &height)) || !PictureSizeAcceptable(width, height)) {
    return {};
  }
  const UINT stride = width * 4;
  std::vector<BYTE> bgra(static_cast<std::size_t>(stride) * height);
  if (FAILED(converter->CopyPixels(nullptr, stride, static_cast<UINT>(bgra.size()), bgra.data()))) {
    return {};
  }

  // A top-down 24-bit DIB section, filled with the colours laid over the background.
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = static_cast<LONG>(width);
  header.biHeight = -static_cast<LONG>(height);
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&header),
                                       DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return {};
  const std::size_t out_stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
  const BYTE bg[3] = {GetBValue(background), GetGValue(background), GetRValue(background)};
  for (UINT y = 0; y < height; ++y) {
    const BYTE* in = bgra.data() + static_cast<std::size_t>(y) * stride;
    BYTE* out = static_cast<BYTE*>(bits) + y * out_stride;
    for (UINT x = 0; x < width; ++x, in += 4, out += 3) {
      for (int c = 0; c < 3; ++c) out[c] = Composite(in[c], in[3], bg[c]);
    }
  }
  GdiFlush();
  return bitmap;
}

}  // namespace norvel
