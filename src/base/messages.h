// User-visible texts of start-up, as GBK bytes: the configuration and every message box
// work in the system code page of the target machines (GBK). Ports convert at the UI edge.
#pragma once

namespace mc::text {

inline constexpr char kStartupFailedTitle[] = "\xC6\xF4\xB6\xAF\xCA\xA7\xB0\xDC";  // 启动失败
inline constexpr char kCreateMapFileFail[] = "CreateMapFile fail";
// 没有附加配置文件,请打包配置文件
inline constexpr char kNoAppendedPackage[] =
    "\xC3\xBB\xD3\xD0\xB8\xBD\xBC\xD3\xC5\xE4\xD6\xC3\xCE\xC4\xBC\xFE\x2C"
    "\xC7\xEB\xB4\xF2\xB0\xFC\xC5\xE4\xD6\xC3\xCE\xC4\xBC\xFE";
inline constexpr char kOpenZipFailed[] = "OpenZip\xCA\xA7\xB0\xDC";  // OpenZip失败
inline constexpr char kReadIniFailed[] =
    "\xB6\xC1\xC8\xA1" "ini" "\xCE\xC4\xBC\xFE\xCA\xA7\xB0\xDC";  // 读取ini文件失败
inline constexpr char kLoadIniFailed[] =
    "\xD7\xB0\xD4\xD8" "ini" "\xCE\xC4\xBC\xFE\xCA\xA7\xB0\xDC";  // 装载ini文件失败
inline constexpr char kReadImageFailed[] =
    "\xB6\xC1\xC8\xA1\xCD\xBC\xC6\xAC\xCA\xA7\xB0\xDC";  // 读取图片失败

}  // namespace mc::text
