// mcpack preview: the two windows of a package folder drawn as the client would show them,
// with no display, and the problems of `mcpack check` marked on them.
#include <cairo.h>

#include <charconv>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mcpack.h"
#include "package/config_record.h"
#include "package/ini_document.h"
#include "preview/preview_marks.h"
#include "preview/preview_scene.h"
#include "preview_pictures.h"
#include "preview_render.h"

namespace mcpack {

namespace {

// Larger game windows are refused: no screen has them, and the picture would take gigabytes.
constexpr int kMaxPreviewSide = 8192;

struct PreviewOptions {
  std::string dir;
  std::string out;
  std::optional<mc::GameSize> size;
  mc::PreviewState state = mc::PreviewState::kMaximized;
  std::string textBoxes;  // where to list the text rectangles; empty: nowhere
};

int UsageError(const std::string& message) {
  std::cerr << "mcpack: preview: " << message << "\n"
            << "usage: mcpack preview DIR -o OUT.png [--size WxH] [--state maximized|restored]\n";
  return kExitUsage;
}

std::optional<int> ParseSide(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// "WxH", each side 1..kMaxPreviewSide.
std::optional<mc::GameSize> ParseSize(std::string_view text) {
  const size_t x = text.find('x');
  if (x == std::string_view::npos) return std::nullopt;
  const std::optional<int> width = ParseSide(text.substr(0, x));
  const std::optional<int> height = ParseSide(text.substr(x + 1));
  if (!width || !height || *width < 1 || *height < 1 || *width > kMaxPreviewSide ||
      *height > kMaxPreviewSide)
    return std::nullopt;
  return mc::GameSize{*width, *height};
}

// The options; nullopt after a usage error has been reported.
std::optional<PreviewOptions> ParseOptions(const std::vector<std::string>& args) {
  PreviewOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "-o" || arg == "--size" || arg == "--state" || arg == "--text-boxes") {
      if (!hasValue) {
        UsageError(arg + " needs a value");
        return std::nullopt;
      }
      const std::string& value = args[++i];
      if (arg == "-o") {
        options.out = value;
      } else if (arg == "--size") {
        options.size = ParseSize(value);
        if (!options.size) {
          UsageError("--size " + value + ": expected WxH, each side 1 to " +
                     std::to_string(kMaxPreviewSide));
          return std::nullopt;
        }
      } else if (arg == "--state") {
        if (value == "maximized") {
          options.state = mc::PreviewState::kMaximized;
        } else if (value == "restored") {
          options.state = mc::PreviewState::kRestored;
        } else {
          UsageError("--state " + value + ": expected maximized or restored");
          return std::nullopt;
        }
      } else {
        options.textBoxes = value;
      }
    } else if (arg.starts_with("-") && arg.size() > 1) {
      UsageError("unknown option " + arg);
      return std::nullopt;
    } else if (options.dir.empty()) {
      options.dir = arg;
    } else {
      UsageError("more than one folder: " + options.dir + ", " + arg);
      return std::nullopt;
    }
  }
  if (options.dir.empty()) {
    UsageError("no folder");
    return std::nullopt;
  }
  if (options.out.empty()) {
    UsageError("no output file (-o OUT.png)");
    return std::nullopt;
  }
  return options;
}

int Failure(const std::string& message) {
  std::cerr << "mcpack: " << message << "\n";
  return kExitUsage;
}

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

std::string TextBoxList(const std::vector<mc::GameRect>& boxes) {
  std::string list;
  for (const mc::GameRect& r : boxes) {
    list += std::to_string(r.left) + ' ' + std::to_string(r.top) + ' ' + std::to_string(r.width()) +
            ' ' + std::to_string(r.height()) + '\n';
  }
  return list;
}

}  // namespace

int RunPreview(const std::vector<std::string>& args) {
  const std::optional<PreviewOptions> options = ParseOptions(args);
  if (!options) return kExitUsage;
  const std::string& dir = options->dir;
  if (!IsReadableFolder(dir)) return Failure(dir + ": not a readable folder");
  const std::filesystem::path root(dir);
  const std::optional<std::vector<uint8_t>> text = ReadFileBytes(root / mc::kConfigEntry);
  if (!text) return Failure(dir + "/" + mc::kConfigEntry + ": missing or unreadable");
  mc::IniDocument ini;
  if (!ini.Load(reinterpret_cast<const char*>(text->data()), text->size()))
    return Failure(dir + "/" + mc::kConfigEntry + ": cannot be loaded");
  // A configuration the client refuses still shows what it names; the check reports why.
  mc::ConfigRecord config;
  mc::ParseConfig(
      ini, [] { return std::string("(machine code)"); }, config);

  const std::vector<mc::PackageProblem> problems = Check(dir);
  FolderPictures pictures(root);
  const mc::LauncherScene launcher = mc::ComposeLauncherScene(config, pictures);
  const mc::GameScene game = mc::ComposeGameScene(config, options->size, options->state, pictures);
  const std::vector<mc::PreviewMark> marks = mc::MarkProblems(problems, config, launcher, game);

  const PreviewContent content{config, launcher, game, problems, marks, dir};
  const std::optional<RenderedPreview> picture = RenderPreview(content, pictures);
  if (!picture) return Failure(options->out + ": the preview would be too large to draw");
  std::string png;
  if (cairo_surface_write_to_png_stream(picture->surface.get(), AppendBytes, &png) !=
          CAIRO_STATUS_SUCCESS ||
      !WriteNewFile(options->out, png))
    return Failure(options->out + ": cannot write");
  if (!options->textBoxes.empty() &&
      !WriteNewFile(options->textBoxes, TextBoxList(picture->textBoxes)))
    return Failure(options->textBoxes + ": cannot write");

  std::cout << "wrote " << options->out << "\n"
            << dir << ": "
            << (problems.empty() ? std::string("no problems")
                                 : std::to_string(problems.size()) +
                                       (problems.size() == 1 ? " problem" : " problems"))
            << '\n';
  return problems.empty() ? kExitClean : kExitProblems;
}

}  // namespace mcpack
