#include "preview_render.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cstdint>

#include "package/gtk/gbk_utf8.h"
#include "platform/gtk/colors.h"
#include "platform/gtk/gobject_ptr.h"
#include "skin/gtk/skin_surface.h"
#include "skin/skin_button_model.h"

namespace mcpack {

namespace {

using mc::GameRect;
using mc::GameSize;
using mc::gtk::GObjectPtr;

// Colours as 0x00RRGGBB.
constexpr uint32_t kCanvas = 0xC8C8C8;
constexpr uint32_t kInk = 0x000000;
constexpr uint32_t kCheckerLight = 0xFFFFFF;
constexpr uint32_t kCheckerDark = 0xD0D0D0;
constexpr int kCheckerCell = 8;
constexpr uint32_t kWindowBackground = 0xFFFFFF;
constexpr uint32_t kButtonFace = 0xF0F0F0;  // a button without faces shows the system's colour
constexpr uint32_t kBrowserFill = 0xE8E8E8;
constexpr uint32_t kBoxOutline = 0x404040;
constexpr uint32_t kMarkRed = 0xFF0000;
constexpr uint32_t kTagText = 0xFFFFFF;
constexpr int kRing = 2;         // width of a mark's outline, drawn just outside the element
constexpr int kTextPadding = 2;  // around a text's measured extents, for its box
constexpr int kLabelInset = 4;
// The problem list's lines are this far apart whatever the font, so that the picture's size
// depends on the number of lines only.
constexpr int kBandLinePitch = 20;
constexpr int kBandGap = 32;  // between the windows and the problem list
// The font of the client's window texts on a desktop without settings.
constexpr char kFont[] = "Sans 10";

struct Rgb {
  double r, g, b;
};

Rgb FromRgb(uint32_t c) {
  return {((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0};
}

Rgb FromColorRef(int32_t colorRef) {
  return FromRgb(mc::gtk::ColorRefToRgb(static_cast<uint32_t>(colorRef)));
}

void SetColor(cairo_t* cr, Rgb c) { cairo_set_source_rgb(cr, c.r, c.g, c.b); }

// Ink on a colour: black or white, whichever stands out more.
Rgb InkOn(Rgb c) {
  const double luminance = 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
  return luminance > 0.5 ? FromRgb(0x000000) : FromRgb(0xFFFFFF);
}

GameRect Offset(const GameRect& r, int dx, int dy) {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

GameRect Intersect(const GameRect& a, const GameRect& b) {
  GameRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
             std::min(a.bottom, b.bottom)};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

GameRect Union(const GameRect& a, const GameRect& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

void FillRect(cairo_t* cr, const GameRect& r, Rgb c) {
  cairo_save(cr);
  SetColor(cr, c);
  cairo_rectangle(cr, r.left, r.top, r.width(), r.height());
  cairo_fill(cr);
  cairo_restore(cr);
}

// A one-pixel outline just inside r.
void OutlineRect(cairo_t* cr, const GameRect& r, Rgb c) {
  if (r.width() <= 0 || r.height() <= 0) return;
  cairo_save(cr);
  SetColor(cr, c);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_rectangle(cr, r.left, r.top, r.width(), r.height());
  cairo_rectangle(cr, r.left + 1, r.top + 1, r.width() - 2, r.height() - 2);
  cairo_fill(cr);
  cairo_restore(cr);
}

// Text set with one font, measured before it is drawn.
class Text {
 public:
  Text() {
    PangoFontMap* fonts = pango_cairo_font_map_get_default();  // owned by pango
    context_ = GObjectPtr<PangoContext>::Adopt(pango_font_map_create_context(fonts));
    pango_cairo_context_set_resolution(context_.get(), 96);
    PangoFontDescription* font = pango_font_description_from_string(kFont);
    pango_context_set_font_description(context_.get(), font);
    pango_font_description_free(font);
  }

  PangoContext* context() const { return context_.get(); }

  // A layout of UTF-8 text, one paragraph, or wrapped to `wrapWidth` pixels when above 0.
  GObjectPtr<PangoLayout> Layout(const std::string& utf8, bool bold = false,
                                 int wrapWidth = 0) const {
    PangoLayout* layout = pango_layout_new(context_.get());
    pango_layout_set_text(layout, utf8.c_str(), static_cast<int>(utf8.size()));
    if (wrapWidth > 0) {
      pango_layout_set_width(layout, wrapWidth * PANGO_SCALE);
      pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    } else {
      pango_layout_set_single_paragraph_mode(layout, TRUE);
    }
    if (bold) {
      PangoFontDescription* font =
          pango_font_description_copy(pango_context_get_font_description(context_.get()));
      pango_font_description_set_weight(font, PANGO_WEIGHT_BOLD);
      pango_layout_set_font_description(layout, font);
      pango_font_description_free(font);
    }
    return GObjectPtr<PangoLayout>::Adopt(layout);
  }

  // Where the layout's glyphs go when its top-left corner is at (x, y).
  static GameRect Extents(PangoLayout* layout, int x, int y) {
    PangoRectangle ink, logical;
    pango_layout_get_pixel_extents(layout, &ink, &logical);
    const GameRect inkRect{ink.x, ink.y, ink.x + ink.width, ink.y + ink.height};
    const GameRect logicalRect{logical.x, logical.y, logical.x + logical.width,
                               logical.y + logical.height};
    const GameRect r = Union(inkRect, logicalRect);
    return {x + r.left - kTextPadding, y + r.top - kTextPadding, x + r.right + kTextPadding,
            y + r.bottom + kTextPadding};
  }

  static int LineCount(PangoLayout* layout) { return pango_layout_get_line_count(layout); }

 private:
  GObjectPtr<PangoContext> context_;
};

class Painter {
 public:
  Painter(const PreviewContent& content, FolderPictures& pictures)
      : c_(content), pictures_(pictures) {}

  std::optional<RenderedPreview> Run() {
    const GameSize launcher = mc::ShownSize(c_.launcher.size);
    const GameSize game = mc::ShownSize(c_.game.size);
    launcherAt_ = {kPreviewMargin, kPreviewMargin + kPreviewCaptionHeight};
    gameAt_ = {launcherAt_.x + launcher.width + kPreviewWindowGap, launcherAt_.y};
    const int64_t width = int64_t{gameAt_.x} + game.width + kPreviewMargin;
    const int bandTop = launcherAt_.y + std::max(launcher.height, game.height) + kBandGap;
    const std::vector<GObjectPtr<PangoLayout>> lines =
        BandLines(static_cast<int>(std::min<int64_t>(width, INT32_MAX)) - 2 * kPreviewMargin);
    int64_t height = int64_t{bandTop} + kPreviewMargin;
    for (const auto& line : lines) height += int64_t{Text::LineCount(line.get())} * kBandLinePitch;
    if (width > INT16_MAX || height > INT16_MAX || width * height > kMaxPreviewPixels)
      return std::nullopt;

    RenderedPreview out;
    out.surface.reset(cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(width),
                                                 static_cast<int>(height)));
    if (cairo_surface_status(out.surface.get()) != CAIRO_STATUS_SUCCESS) return std::nullopt;
    mc::gtk::CairoPtr cr(cairo_create(out.surface.get()));
    cr_ = cr.get();
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
    FillRect(cr_, {0, 0, static_cast<int>(width), static_cast<int>(height)}, FromRgb(kCanvas));

    Caption(launcherAt_, LauncherCaption());
    Caption(gameAt_, GameCaption());
    PaintLauncher(launcher);
    PaintGame(game);
    for (const mc::PreviewMark& mark : c_.marks) PaintMark(mark);
    int y = bandTop;
    for (const auto& line : lines) y = DrawBandLines(line.get(), kPreviewMargin, y);
    cairo_surface_flush(out.surface.get());
    if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) return std::nullopt;
    out.textBoxes = std::move(textBoxes_);
    return out;
  }

 private:
  // Draws a layout at (x, y), cut to `clip` when given, and keeps its box.
  void DrawLayout(PangoLayout* layout, int x, int y, Rgb color,
                  std::optional<GameRect> clip = std::nullopt) {
    GameRect box = Text::Extents(layout, x, y);
    cairo_save(cr_);
    if (clip) {
      box = Intersect(box, *clip);
      cairo_rectangle(cr_, clip->left, clip->top, clip->width(), clip->height());
      cairo_clip(cr_);
    }
    SetColor(cr_, color);
    cairo_move_to(cr_, x, y);
    pango_cairo_show_layout(cr_, layout);
    cairo_restore(cr_);
    if (box.width() > 0 && box.height() > 0) textBoxes_.push_back(box);
  }

  // Each line of the layout in a row of kBandLinePitch from `top`; returns the next row's top.
  int DrawBandLines(PangoLayout* layout, int x, int top) {
    PangoLayoutIter* it = pango_layout_get_iter(layout);
    do {
      PangoRectangle ink, logical;
      pango_layout_iter_get_line_extents(it, &ink, &logical);
      const int lineX = logical.x / PANGO_SCALE;
      const double baseline =
          static_cast<double>(pango_layout_iter_get_baseline(it) - logical.y) / PANGO_SCALE;
      cairo_save(cr_);
      SetColor(cr_, FromRgb(kInk));
      cairo_move_to(cr_, x + lineX, top + baseline);
      pango_cairo_show_layout_line(cr_, pango_layout_iter_get_line_readonly(it));
      cairo_restore(cr_);
      // Glyphs may reach beyond the row; the box takes them in.
      const int inkTop = (ink.y - logical.y) / PANGO_SCALE;
      const int inkBottom = inkTop + PANGO_PIXELS_CEIL(ink.height);
      const int left = x + std::min(ink.x, logical.x) / PANGO_SCALE;
      const int right =
          x +
          (std::max(ink.x + ink.width, logical.x + logical.width) + PANGO_SCALE - 1) / PANGO_SCALE;
      textBoxes_.push_back({left - kTextPadding, top + std::min(inkTop, 0) - kTextPadding,
                            right + kTextPadding,
                            top + std::max(inkBottom, kBandLinePitch) + kTextPadding});
      top += kBandLinePitch;
    } while (pango_layout_iter_next_line(it));
    pango_layout_iter_free(it);
    return top;
  }

  void Caption(mc::GamePoint at, const std::string& text) {
    DrawLayout(text_.Layout(text).get(), at.x, kPreviewMargin, FromRgb(kInk));
  }

  std::string LauncherCaption() const {
    const GameSize s = c_.launcher.size;
    if (!c_.launcher.background) return "launcher: no picture";
    return "launcher " + std::to_string(s.width) + " x " + std::to_string(s.height);
  }

  std::string GameCaption() const {
    const GameSize s = c_.game.size;
    std::string text = "game window " + std::to_string(s.width) + " x " + std::to_string(s.height);
    switch (c_.game.stop) {
      case mc::GameInitStop::kNone:
        return text + (c_.game.maximized ? ", maximised" : ", restored");
      case mc::GameInitStop::kSprite:
        return text + ", stopped before its frame";
      case mc::GameInitStop::kBrowser:
        return text + ", stopped at its browser";
      case mc::GameInitStop::kButtons:
        return text + ", stopped at its buttons";
      case mc::GameInitStop::kLogo:
        return text + ", stopped at its logo";
    }
    return text;
  }

  std::vector<GObjectPtr<PangoLayout>> BandLines(int wrapWidth) const {
    wrapWidth = std::max(wrapWidth, 200);
    std::vector<GObjectPtr<PangoLayout>> lines;
    const size_t n = c_.problems.size();
    const bool stops = std::any_of(c_.problems.begin(), c_.problems.end(),
                                   [](const mc::PackageProblem& p) { return p.stopsClient; });
    std::string head = n == 0   ? "no problems"
                       : n == 1 ? "1 problem"
                                : std::to_string(n) + " problems";
    if (stops) head += "; the client would not start";
    lines.push_back(text_.Layout(head, true, wrapWidth));
    for (size_t i = 0; i < n; ++i) {
      const mc::PackageProblem& p = c_.problems[i];
      std::string line = std::to_string(i + 1) + ". " + c_.dir + "/" + p.file;
      if (p.line > 0) line += ":" + std::to_string(p.line);
      line += ": " + p.message;
      lines.push_back(text_.Layout(line, false, wrapWidth));
    }
    return lines;
  }

  void PaintLauncher(GameSize shown) {
    const int x0 = launcherAt_.x, y0 = launcherAt_.y;
    const GameRect panel{x0, y0, x0 + shown.width, y0 + shown.height};
    cairo_save(cr_);
    cairo_rectangle(cr_, panel.left, panel.top, panel.width(), panel.height());
    cairo_clip(cr_);
    PaintChecker(x0, y0);
    if (cairo_surface_t* background = pictures_.Background()) {
      // The translucent window composes its picture over what lies below it.
      cairo_set_source_surface(cr_, background, x0, y0);
      cairo_set_operator(cr_, CAIRO_OPERATOR_OVER);
      cairo_paint(cr_);
    }
    cairo_restore(cr_);

    const Rgb placeholder = FromColorRef(c_.launcher.placeholderColor);
    for (const mc::LauncherScene::HtmlArea& area : c_.launcher.areas) {
      const GameRect r = Offset(area.rect, x0, y0);
      if (r.width() <= 0 || r.height() <= 0) continue;
      FillRect(cr_, r, placeholder);
      OutlineRect(cr_, r, FromRgb(kBoxOutline));
      const std::string label = "html area " + std::to_string(area.control.id) + " (link " +
                                std::to_string(area.control.linkNumber) + ")\n" +
                                mc::gtk::GbkToUtf8(area.control.url);
      DrawLayout(text_.Layout(label, false, std::max(1, r.width() - 2 * kLabelInset)).get(),
                 r.left + kLabelInset, r.top + kLabelInset, InkOn(placeholder), r);
    }
    for (const mc::LauncherScene::Button& button : c_.launcher.buttons) {
      const GameRect r = Offset(button.rect, x0, y0);
      if (r.width() <= 0 || r.height() <= 0) continue;
      const mc::SkinPixels* face =
          button.faces ? pictures_.Skin(button.control.normalImage) : nullptr;
      if (face) {
        PaintPixels(*face, r);
      } else {
        FillRect(cr_, r, FromRgb(kButtonFace));
      }
    }
  }

  // Light and dark cells from (x0, y0) over the clip, where the picture is translucent.
  void PaintChecker(int x0, int y0) {
    mc::gtk::CairoSurfacePtr tile(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, 2 * kCheckerCell, 2 * kCheckerCell));
    {
      mc::gtk::CairoPtr t(cairo_create(tile.get()));
      FillRect(t.get(), {0, 0, 2 * kCheckerCell, 2 * kCheckerCell}, FromRgb(kCheckerLight));
      FillRect(t.get(), {kCheckerCell, 0, 2 * kCheckerCell, kCheckerCell}, FromRgb(kCheckerDark));
      FillRect(t.get(), {0, kCheckerCell, kCheckerCell, 2 * kCheckerCell}, FromRgb(kCheckerDark));
    }
    cairo_save(cr_);
    cairo_set_source_surface(cr_, tile.get(), x0, y0);
    cairo_pattern_set_extend(cairo_get_source(cr_), CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_NEAREST);
    cairo_paint(cr_);
    cairo_restore(cr_);
  }

  // A skin bitmap copied 1:1 from the corner of r, cut to r: a button face in its normal draw
  // mode, or a logo.
  void PaintPixels(const mc::SkinPixels& pixels, const GameRect& r) {
    mc::gtk::CairoSurfacePtr surface = mc::gtk::OpaqueSurface(pixels);
    if (!surface) return;
    cairo_save(cr_);
    cairo_rectangle(cr_, r.left, r.top, r.width(), r.height());
    cairo_clip(cr_);
    cairo_set_source_surface(cr_, surface.get(), r.left, r.top);
    cairo_paint(cr_);
    cairo_restore(cr_);
  }

  void PaintGame(GameSize shown) {
    const int x0 = gameAt_.x, y0 = gameAt_.y;
    const GameRect panel{x0, y0, x0 + shown.width, y0 + shown.height};
    FillRect(cr_, panel, FromRgb(kWindowBackground));
    cairo_save(cr_);
    cairo_rectangle(cr_, panel.left, panel.top, panel.width(), panel.height());
    cairo_clip(cr_);
    // The window's own painting: edge pieces and title.
    cairo_save(cr_);
    cairo_translate(cr_, x0, y0);
    pictures_.painter().Paint(cr_, c_.game.paint, text_.context());
    cairo_restore(cr_);
    if (c_.game.paint.title && !c_.game.paint.title->text.empty()) {
      // Measured as the painter lays it out: the context's font made bold.
      const mc::TitlePaint& title = *c_.game.paint.title;
      GObjectPtr<PangoLayout> layout = text_.Layout(mc::gtk::GbkToUtf8(title.text), true);
      titleBox_ = Text::Extents(layout.get(), x0 + title.position.x, y0 + title.position.y);
      const GameRect shownTitle = Intersect(*titleBox_, panel);
      if (shownTitle.width() > 0 && shownTitle.height() > 0) textBoxes_.push_back(shownTitle);
    }
    // Children over it.
    if (c_.game.browser) {
      const GameRect r = Intersect(Offset(*c_.game.browser, x0, y0), panel);
      if (r.width() > 0 && r.height() > 0) {
        FillRect(cr_, r, FromRgb(kBrowserFill));
        OutlineRect(cr_, r, FromRgb(kBoxOutline));
        DrawLayout(text_.Layout("browser (control 170): the game page").get(), r.left + kLabelInset,
                   r.top + kLabelInset, FromRgb(kInk), r);
      }
    }
    const mc::SkinPixels* sprite = pictures_.Skin(mc::kSpriteEntry);
    for (const mc::GameScene::Button& button : c_.game.buttons) {
      if (button.visible) PaintTitleButton(button, sprite, x0, y0);
    }
    if (c_.game.logo) {
      if (const mc::SkinPixels* logo = pictures_.Skin(mc::kLogoEntry))
        PaintPixels(*logo, Offset(*c_.game.logo, x0, y0));
    }
    cairo_restore(cr_);
  }

  // Its normal face and caption, as the skin button paints them in its normal state.
  void PaintTitleButton(const mc::GameScene::Button& button, const mc::SkinPixels* sprite, int x0,
                        int y0) {
    const GameRect r = Offset(button.rect, x0, y0);
    if (r.width() <= 0 || r.height() <= 0) return;
    const mc::SpriteCut& cut = button.setup.faces[0];
    mc::SkinPixels face;
    const bool hasFace = sprite && mc::IsCuttable(cut) &&
                         mc::CutPixels(*sprite, cut.x, cut.y, cut.width, cut.height, face);
    mc::FaceSet faces;
    faces.normal = faces.down = faces.over = hasFace;
    const mc::ButtonPaintPlan plan =
        mc::PlanButtonPaint(mc::ItemState{}, faces, r.width(), r.height(), false, 0);
    if (plan.face) {
      PaintPixels(face, r);
    } else {
      FillRect(cr_, r, FromRgb(kButtonFace));
    }
    if (button.setup.caption.empty()) return;
    GObjectPtr<PangoLayout> layout = text_.Layout(mc::gtk::GbkToUtf8(button.setup.caption));
    int width = 0, height = 0;
    pango_layout_get_pixel_size(layout.get(), &width, &height);
    for (const mc::CaptionDraw& draw : plan.captions) {
      const GameRect area{r.left + draw.rect.left, r.top + draw.rect.top, r.left + draw.rect.right,
                          r.top + draw.rect.bottom};
      DrawLayout(layout.get(), area.left + (area.width() - width) / 2,
                 area.top + (area.height() - height) / 2, FromColorRef(button.setup.captionColor),
                 area);
    }
  }

  void PaintMark(const mc::PreviewMark& mark) {
    const bool onLauncher = mark.window == mc::PreviewWindow::kLauncher;
    const mc::GamePoint at = onLauncher ? launcherAt_ : gameAt_;
    GameRect r = Offset(mark.rect, at.x, at.y);
    if (mark.titleText && titleBox_) {
      const GameSize window = mc::ShownSize(onLauncher ? c_.launcher.size : c_.game.size);
      r = Offset(mc::KeepOnWindow(Offset(*titleBox_, -at.x, -at.y), window), at.x, at.y);
    }
    const Rgb red = FromRgb(kMarkRed);
    if (mark.absent) {
      cairo_save(cr_);
      cairo_set_source_rgba(cr_, red.r, red.g, red.b, 0.25);
      cairo_rectangle(cr_, r.left, r.top, r.width(), r.height());
      cairo_fill(cr_);
      SetColor(cr_, red);
      cairo_set_line_width(cr_, kRing);
      cairo_move_to(cr_, r.left, r.top);
      cairo_line_to(cr_, r.right, r.bottom);
      cairo_move_to(cr_, r.right, r.top);
      cairo_line_to(cr_, r.left, r.bottom);
      cairo_stroke(cr_);
      cairo_restore(cr_);
    }
    const GameRect ring{r.left - kRing, r.top - kRing, r.right + kRing, r.bottom + kRing};
    cairo_save(cr_);
    SetColor(cr_, red);
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_rectangle(cr_, ring.left, ring.top, ring.width(), ring.height());
    cairo_rectangle(cr_, r.left, r.top, r.width(), r.height());
    cairo_fill(cr_);
    cairo_restore(cr_);
    PaintTag(mark, ring);
  }

  // The problem numbers on a red tag above the mark's left corner (below it when there is no
  // room above).
  void PaintTag(const mc::PreviewMark& mark, const GameRect& ring) {
    std::string numbers;
    for (size_t n : mark.problems) numbers += (numbers.empty() ? "" : ",") + std::to_string(n);
    GObjectPtr<PangoLayout> layout = text_.Layout(numbers);
    int width = 0, height = 0;
    pango_layout_get_pixel_size(layout.get(), &width, &height);
    const int tagWidth = width + 2 * kTextPadding, tagHeight = height;
    int top = ring.top - tagHeight;
    if (top < kPreviewMargin) top = ring.bottom;
    const GameRect tag{ring.left, top, ring.left + tagWidth, top + tagHeight};
    FillRect(cr_, tag, FromRgb(kMarkRed));
    textBoxes_.push_back(tag);
    DrawLayout(layout.get(), tag.left + kTextPadding, tag.top, FromRgb(kTagText));
  }

  const PreviewContent& c_;
  FolderPictures& pictures_;
  Text text_;
  cairo_t* cr_ = nullptr;
  mc::GamePoint launcherAt_, gameAt_;
  std::optional<GameRect> titleBox_;  // in the picture
  std::vector<GameRect> textBoxes_;
};

}  // namespace

std::optional<RenderedPreview> RenderPreview(const PreviewContent& content,
                                             FolderPictures& pictures) {
  return Painter(content, pictures).Run();
}

}  // namespace mcpack
