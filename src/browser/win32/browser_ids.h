// Identifiers of the browser control and the interfaces the wrapper uses, with their published
// values, declared here once so no file depends on which of them a given SDK's libuuid exports.
#pragma once

#include <windows.h>

namespace mc::win32 {

// {8856F961-340A-11D0-A96B-00C04FD705A2}
inline constexpr CLSID kClsidWebBrowser = {
    0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
// {34A715A0-6587-11D0-924A-0020AFC7AC4D}
inline constexpr IID kDiidWebBrowserEvents2 = {
    0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}};
// {BD3F23C0-D43E-11CF-893B-00AA00BDCE1A}
inline constexpr IID kIidDocHostUIHandler = {
    0xBD3F23C0, 0xD43E, 0x11CF, {0x89, 0x3B, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x1A}};
// {D30C1661-CDAF-11D0-8A3E-00C04FC9E26E}
inline constexpr IID kIidWebBrowser2 = {
    0xD30C1661, 0xCDAF, 0x11D0, {0x8A, 0x3E, 0x00, 0xC0, 0x4F, 0xC9, 0xE2, 0x6E}};
// {3050F3F0-98B5-11CF-BB82-00AA00BDCE0B}
inline constexpr IID kIidCustomDoc = {
    0x3050F3F0, 0x98B5, 0x11CF, {0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B}};
// {332C4425-26CB-11D0-B483-00C04FD90119}
inline constexpr IID kIidHtmlDocument2 = {
    0x332C4425, 0x26CB, 0x11D0, {0xB4, 0x83, 0x00, 0xC0, 0x4F, 0xD9, 0x01, 0x19}};

// DWebBrowserEvents2 members.
inline constexpr DISPID kDispidBeforeNavigate2 = 250;
inline constexpr DISPID kDispidNavigateComplete2 = 252;
inline constexpr DISPID kDispidDocumentComplete = 259;
inline constexpr DISPID kDispidNewWindow3 = 273;

}  // namespace mc::win32
