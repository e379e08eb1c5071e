#include "game/input_filter.h"

namespace mc {

namespace {

bool IsFunctionKey(int key) { return key >= kKeyF1 && key <= kKeyF12; }

}  // namespace

InputDecision DecideInput(const InputEvent& event, const InputContext& context) {
  InputDecision decision;
  switch (event.kind) {
    case InputEvent::Kind::kKeyDown:
    case InputEvent::Kind::kSysKeyDown:
      if (event.kind == InputEvent::Kind::kKeyDown &&
          (event.key == kKeyReturn || event.key == kKeyEscape)) {
        decision.route = InputRoute::kDispatch;
      } else if (IsFunctionKey(event.key) && !event.altDown) {
        decision.route = InputRoute::kConsumed;
        if (context.functionKeys)
          decision.command = (*context.functionKeys)[static_cast<size_t>(event.key - kKeyF1)];
      }
      break;
    case InputEvent::Kind::kRightButtonDown:
    case InputEvent::Kind::kRightButtonUp:
      decision.route = InputRoute::kConsumed;
      if (event.screen.y >= 0) {
        decision.pageCall =
            ClientCallJs(event.kind == InputEvent::Kind::kRightButtonDown ? kPageRightButtonDown
                                                                          : kPageRightButtonUp,
                         event.screen);
      }
      break;
    case InputEvent::Kind::kLeftDoubleClick:
      if (!context.fullScreen && int64_t{event.screen.y} > context.windowTop &&
          int64_t{event.screen.y} < int64_t{context.windowTop} + context.titleHeight) {
        decision.route = InputRoute::kConsumed;
        decision.command = context.maximized ? GameCommand::kRestore : GameCommand::kMaximize;
      }
      break;
    case InputEvent::Kind::kOther:
      break;
  }
  return decision;
}

}  // namespace mc
