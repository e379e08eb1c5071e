#include "skin/win32/skin_button.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>

#include "skin/win32/dib_pixels.h"

namespace mc::win32 {
namespace {

constexpr UINT kUncheckMessage = WM_USER + 256;  // posted to the other radio buttons of a group
constexpr UINT kNonClientMetricsSize = 340;      // the structure without the padded border
constexpr int kMaxGroupWalk = 1024;              // a group that never leads back is cut short

// One copy of a face: 1:1 when the sizes agree, stretched otherwise.
void CopyFace(HDC to, int originX, int originY, HDC from, const FaceBlit& blit, DWORD rop) {
  const int dw = blit.dest.right - blit.dest.left, dh = blit.dest.bottom - blit.dest.top;
  const int sw = blit.source.right - blit.source.left, sh = blit.source.bottom - blit.source.top;
  if (dw == sw && dh == sh)
    BitBlt(to, originX + blit.dest.left, originY + blit.dest.top, dw, dh, from, blit.source.left,
           blit.source.top, rop);
  else
    StretchBlt(to, originX + blit.dest.left, originY + blit.dest.top, dw, dh, from,
               blit.source.left, blit.source.top, sw, sh, rop);
}

RECT ToRect(const PixelRect& r, const RECT& item) {
  return {item.left + r.left, item.top + r.top, item.left + r.right, item.top + r.bottom};
}

COLORREF CaptionColorOf(CaptionColor role, COLORREF caption) {
  switch (role) {
    case CaptionColor::kHighlight: return GetSysColor(COLOR_BTNHIGHLIGHT);
    case CaptionColor::kGrayText: return GetSysColor(COLOR_GRAYTEXT);
    default: return caption;
  }
}

}  // namespace

CSkinButton::CSkinButton() : captionColor_(GetSysColor(COLOR_BTNTEXT)) {}

CSkinButton::~CSkinButton() {
  if (tooltip_ && IsWindow(tooltip_)) DestroyWindow(tooltip_);
}

bool CSkinButton::Create(const std::string& caption, DWORD style, const RECT& rect, HWND parent,
                         int id) {
  HWND button = CreateWindowExA(0, "BUTTON", caption.c_str(), style, rect.left, rect.top,
                                rect.right - rect.left, rect.bottom - rect.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleA(nullptr), nullptr);
  if (!button) return false;
  if (Subclass(button)) return true;
  DestroyWindow(button);
  return false;
}

void CSkinButton::PreSubclassWindow() {
  const LONG style = GetWindowLongA(hwnd(), GWL_STYLE);
  kind_ = ButtonKindFromStyle(static_cast<uint32_t>(style));
  SetWindowLongA(hwnd(), GWL_STYLE, style | BS_OWNERDRAW);
}

void CSkinButton::SetImages(HBITMAP normal, HBITMAP down, HBITMAP over, HBITMAP disabled,
                            HBITMAP focus, HBITMAP mask, int16_t drawMode, int16_t border,
                            int16_t focusMargin) {
  const HBITMAP given[kSlots] = {normal, down, over, disabled, focus, mask};
  // Old bitmaps go, except one given again (it would otherwise be deleted while in use).
  for (ScopedBitmap& old : owned_)
    if (std::find(std::begin(given), std::end(given), old.get()) != std::end(given)) old.release();
  owned_.clear();
  for (int slot = 0; slot < kSlots; ++slot) {
    slots_[slot] = given[slot];
    const HBITMAP h = given[slot];
    const bool known = std::any_of(owned_.begin(), owned_.end(),
                                   [h](const ScopedBitmap& o) { return o.get() == h; });
    if (h && !known) owned_.emplace_back(h);
  }
  settings_ = ClampImageSettings(drawMode, border, focusMargin);
  if (!mask || !hwnd()) return;
  if (HRGN region = RegionFromMask(mask, kMaskKeyColor)) {
    if (SetWindowRgn(hwnd(), region, TRUE)) region_ = region;  // the window owns it now
    else DeleteObject(region);
  }
  if (settings_.drawMode == DrawMode::kNormal) {
    BITMAP bm{};
    if (GetObjectA(mask, sizeof bm, &bm))
      SetWindowPos(hwnd(), nullptr, 0, 0, bm.bmWidth, bm.bmHeight, SWP_NOZORDER | SWP_NOMOVE);
  }
}

HBITMAP CSkinButton::FaceBitmap(Face face) const {
  switch (face) {
    case Face::kNormal: return slots_[kNormalSlot];
    case Face::kDown: return slots_[kDownSlot];
    case Face::kOver: return slots_[kOverSlot];
    case Face::kFocus: return slots_[kFocusSlot];
    case Face::kDisabled: return slots_[kDisabledSlot];
  }
  return nullptr;
}

void CSkinButton::SetTipText(const std::string& text) {
  // The tool is the button itself (identified by its window), so the tip shows wherever the
  // relayed mouse messages place the pointer on it.
  TOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;  // understood by every common-controls version
  tool.uFlags = TTF_IDISHWND;
  tool.hwnd = GetParent(hwnd());
  tool.uId = reinterpret_cast<UINT_PTR>(hwnd());
  tool.lpszText = const_cast<char*>(text.c_str());
  if (tooltip_) {
    SendMessageA(tooltip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    return;
  }
  tooltip_ = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  if (!tooltip_) return;
  if (!SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool))) {
    DestroyWindow(tooltip_);
    tooltip_ = nullptr;
    return;
  }
  SendMessageA(tooltip_, TTM_ACTIVATE, TRUE, 0);
}

COLORREF CSkinButton::SetCaptionColor(COLORREF color) {
  const COLORREF previous = captionColor_;
  captionColor_ = color;
  return previous;
}

bool CSkinButton::HasCapture() { return GetCapture() == hwnd(); }

bool CSkinButton::ArmLeaveTracking() {
  TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, hwnd(), 0};
  return _TrackMouseEvent(&track) != FALSE;
}

bool CSkinButton::CancelLeaveTracking() {
  TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_CANCEL | TME_LEAVE, hwnd(), 0};
  return _TrackMouseEvent(&track) != FALSE;
}

bool CSkinButton::IsPushed() { return (SendMessageA(hwnd(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }

void CSkinButton::SetPushed(bool pushed) { SendMessageA(hwnd(), BM_SETSTATE, pushed, 0); }

void CSkinButton::Repaint() { InvalidateRect(hwnd(), nullptr, TRUE); }

void CSkinButton::OpenLink(const std::string& url) {
  ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);  // failure ignored
}

bool CSkinButton::OverThisButton(POINT screenPoint) const {
  return WindowFromPoint(screenPoint) == hwnd();
}

void CSkinButton::RelayToTooltip(UINT msg, WPARAM wp, LPARAM lp) {
  if (!tooltip_) return;
  MSG relayed{};
  relayed.hwnd = hwnd();
  relayed.message = msg;
  relayed.wParam = wp;
  relayed.lParam = lp;
  relayed.pt = {static_cast<LONG>(LOWORD(lp)), static_cast<LONG>(HIWORD(lp))};
  SendMessageA(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void CSkinButton::SetCheck(bool on) {
  checked_ = on && kind_ != ButtonKind::kPush;
  if (checked_ && kind_ == ButtonKind::kRadio) {
    const HWND parent = GetParent(hwnd());
    HWND other = GetNextDlgGroupItem(parent, hwnd(), FALSE);
    for (int i = 0; other && other != hwnd() && i < kMaxGroupWalk; ++i) {
      PostMessageA(other, kUncheckMessage, 0, 0);
      other = GetNextDlgGroupItem(parent, other, FALSE);
    }
  }
  Repaint();
}

void CSkinButton::ToggleByUser() {
  if (kind_ == ButtonKind::kCheckBox) SendMessageA(hwnd(), BM_SETCHECK, !checked_, 0);
  else if (kind_ == ButtonKind::kRadio) SendMessageA(hwnd(), BM_SETCHECK, TRUE, 0);
}

bool CSkinButton::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_ERASEBKGND:
      result = TRUE;  // the owner drawing paints everything
      return true;
    case WM_MOUSEMOVE: {
      RelayToTooltip(msg, wp, lp);
      POINT point{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      ClientToScreen(hwnd(), &point);
      model_.MouseMove(*this, OverThisButton(point));
      result = Default(msg, wp, lp);
      return true;
    }
    case WM_MOUSELEAVE:
      model_.MouseLeave(*this);
      result = 0;
      return true;
    case WM_LBUTTONDOWN:
      RelayToTooltip(msg, wp, lp);
      model_.PressBegin(*this);
      result = Default(msg, wp, lp);  // capture, pushed state, focus
      model_.PressEnd(*this);
      return true;
    case WM_LBUTTONDBLCLK:
      // A double click is a second press (and opens the link a second time).
      result = SendMessageA(hwnd(), WM_LBUTTONDOWN, wp, lp);
      return true;
    case WM_LBUTTONUP: {
      if (kind_ != ButtonKind::kPush) {
        POINT point{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ClientToScreen(hwnd(), &point);
        if (OverThisButton(point)) ToggleByUser();
      }
      RelayToTooltip(msg, wp, lp);
      model_.Release();
      result = Default(msg, wp, lp);  // ends the capture; clicks when released over the button
      return true;
    }
    case WM_KILLFOCUS:
      if (model_.FocusLost(*this)) ReleaseCapture();
      result = Default(msg, wp, lp);
      return true;
    case WM_KEYDOWN:
      if (wp == VK_SPACE && kind_ != ButtonKind::kPush) ToggleByUser();
      result = Default(msg, wp, lp);
      return true;
    case kUncheckMessage:
      if (checked_) {
        checked_ = false;
        Repaint();
      }
      result = 0;
      return true;
    case BM_SETCHECK:
      SetCheck(wp != 0);
      result = 0;
      return true;
    case BM_GETCHECK:
      result = checked_ ? 1 : 0;
      return true;
    default:
      return false;
  }
}

bool CSkinButton::OnReflectedMessage(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
  if (msg != WM_DRAWITEM) return false;
  DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
  result = TRUE;
  return true;
}

void CSkinButton::DrawItem(const DRAWITEMSTRUCT& item) {
  const HDC dc = item.hDC;
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = kNonClientMetricsSize;
  ScopedFont font;
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &metrics, 0))
    font.reset(CreateFontIndirectA(&metrics.lfMenuFont));
  ScopedSelectObject selectFont(dc, font ? static_cast<HGDIOBJ>(font.get())
                                         : GetStockObject(DEFAULT_GUI_FONT));

  // While held, the pushed state follows the pointer; a change repaints, so stop here.
  POINT cursor;
  if (model_.pressed() && HasCapture() && GetCursorPos(&cursor)) {
    const bool over = OverThisButton(cursor);
    const bool pushed = IsPushed();
    if (over && !pushed) {
      SetPushed(true);
      return;
    }
    if (!over && pushed) {
      SetPushed(false);
      return;
    }
  }

  // Nothing is drawn outside the mask's shape (Windows clips the item's DC to the window
  // region already; Wine does not).
  ScopedSaveDC keepDcState(dc);
  if (slots_[kMaskSlot]) {
    ScopedRegion shape(CreateRectRgn(0, 0, 0, 0));
    if (shape && GetWindowRgn(hwnd(), shape.get()) != ERROR)
      ExtSelectClipRgn(dc, shape.get(), RGN_AND);
  }
  char caption[512] = {};
  GetWindowTextA(hwnd(), caption, sizeof caption);
  SetBkMode(dc, TRANSPARENT);
  const RECT& rect = item.rcItem;
  ItemState state;
  state.disabled = (item.itemState & ODS_DISABLED) != 0;
  state.selected = (item.itemState & ODS_SELECTED) != 0;
  state.focused = (item.itemState & ODS_FOCUS) != 0;
  state.checked = checked_;
  state.hovering = model_.hovering();
  FaceSet faces;
  faces.normal = slots_[kNormalSlot] != nullptr;
  faces.down = slots_[kDownSlot] != nullptr;
  faces.over = slots_[kOverSlot] != nullptr;
  faces.focus = slots_[kFocusSlot] != nullptr;
  faces.disabled = slots_[kDisabledSlot] != nullptr;
  const ButtonPaintPlan plan = PlanButtonPaint(state, faces, rect.right - rect.left,
                                               rect.bottom - rect.top, settings_.border,
                                               settings_.focusMargin);
  if (plan.face) PaintImage(dc, FaceBitmap(*plan.face), rect, settings_.drawMode);
  else FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
  RECT edge = rect;
  if (plan.edge == Edge::kRaised) DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
  if (plan.edge == Edge::kSunken) DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
  if (plan.focusRect) {
    const RECT focus = ToRect(*plan.focusRect, rect);
    DrawFocusRect(dc, &focus);
  }
  for (const CaptionDraw& draw : plan.captions) {
    RECT r = ToRect(draw.rect, rect);
    SetTextColor(dc, CaptionColorOf(draw.color, captionColor_));
    DrawTextA(dc, caption, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

void CSkinButton::PaintImage(HDC dc, HBITMAP bitmap, const RECT& rect, DrawMode mode) {
  if (!bitmap) return;
  BITMAP bm{};
  if (!GetObjectA(bitmap, sizeof bm, &bm)) return;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  const std::vector<FaceBlit> blits = PlanFaceBlits(mode, bm.bmWidth, bm.bmHeight, w, h);
  ScopedMemoryDC faceDc(dc);
  if (!faceDc) return;
  ScopedSelectObject selectFace(faceDc.get(), bitmap);
  const HBITMAP mask = slots_[kMaskSlot];
  if (!mask || mode == DrawMode::kTile) {
    for (const FaceBlit& blit : blits) CopyFace(dc, rect.left, rect.top, faceDc.get(), blit, SRCCOPY);
    return;
  }
  // Off screen: what is there now, XOR face, AND mask, XOR face. Where the mask is white the
  // pixels below remain; where it is black the face shows.
  ScopedMemoryDC offDc(dc), maskDc(dc);
  ScopedBitmap offscreen(CreateCompatibleBitmap(dc, w, h));
  if (!offDc || !maskDc || !offscreen) return;
  ScopedSelectObject selectOff(offDc.get(), offscreen.get());
  ScopedSelectObject selectMask(maskDc.get(), mask);
  BitBlt(offDc.get(), 0, 0, w, h, dc, rect.left, rect.top, SRCCOPY);
  for (const FaceBlit& blit : blits) {
    CopyFace(offDc.get(), 0, 0, faceDc.get(), blit, SRCINVERT);
    CopyFace(offDc.get(), 0, 0, maskDc.get(), blit, SRCAND);
    CopyFace(offDc.get(), 0, 0, faceDc.get(), blit, SRCINVERT);
  }
  BitBlt(dc, rect.left, rect.top, w, h, offDc.get(), 0, 0, SRCCOPY);
}

}  // namespace mc::win32
