#include "dialog_steps.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <thread>
#include <utility>

#include "dialog_driver.h"
#include "fxui.h"
#include "image/host_image.h"
#include "preview/preview_control.h"
#include "resources/resource.h"
#include "test_images.h"
#include "wine_probe.h"

PreviewState* PreviewOf(HWND dialog, int id) {
  return reinterpret_cast<PreviewState*>(GetWindowLongPtrA(GetDlgItem(dialog, id), GWLP_USERDATA));
}

namespace {
Step Make(Step::Kind kind, int id, int value = 0, int extra = 0, const char* text = nullptr,
          std::vector<int32_t> values = {}) {
  return {kind, id, value, extra, text, nullptr, std::move(values)};
}
}  // namespace

Step Scroll(int bar, int code, int thumb) { return Make(Step::kScroll, bar, code, thumb); }
Step Click(int button) { return Make(Step::kClick, button); }
Step Type(int box, const char* text) { return Make(Step::kType, box, 0, 0, text); }
Step Select(int list, int index) { return Make(Step::kSelect, list, index); }
Step Mouse(int id, UINT message, WPARAM keys, int x, int y) {
  return Make(Step::kMouse, id, int(message), int(keys), nullptr, {x, y});
}
Step Resize(int id, int width, int height) { return Make(Step::kResize, id, width, height); }
Step File(int button, const char* path, const char* title) {
  Step step = Make(Step::kFile, button, 0, 0, path);
  step.title = title;
  return step;
}
Step Selected(int list, int index) { return Make(Step::kSelected, list, index); }
Step Items(int list, const char* names) { return Make(Step::kItems, list, 0, 0, names); }
Step Text(int id, const char* text) { return Make(Step::kText, id, 0, 0, text); }
Step Enabled(int id, bool enabled) { return Make(Step::kEnabled, id, enabled); }
Step Checked(int id, bool checked) { return Make(Step::kChecked, id, checked); }
Step Position(int bar, int position) { return Make(Step::kPosition, bar, position); }
Step Field(int word, int value) { return Make(Step::kFields, 0, word, 0, nullptr, {value}); }
Step Fields(int first, std::vector<int32_t> words) { return Make(Step::kFields, 0, first, 0, nullptr, std::move(words)); }
Step Bytes(int first, std::vector<int32_t> bytes) { return Make(Step::kBytes, 0, first, 0, nullptr, std::move(bytes)); }
Step Focus(int id) { return Make(Step::kFocus, id); }
Step Inverted(int button, bool inverted) { return Make(Step::kInverted, button, inverted); }
Step Refreshes(int count) { return Make(Step::kRefreshes, 0, count); }
Step Zooms(bool zoomable) { return Make(Step::kZooms, 0, zoomable); }
Step AfterShowsEffect() { return Make(Step::kAfter, 0); }
Step AfterShowsPicture() { return Make(Step::kAfterPicture, 0); }
Step Effect(int effect) { return Make(Step::kEffect, 0, effect); }
Step Embedded(bool embedded) { return Make(Step::kEmbedded, 0, embedded); }

HWND EmbeddedDialog(HWND browser) {
  for (HWND child = GetWindow(browser, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[16] = "";
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpA(name, "#32770") == 0 && IsWindowVisible(child)) return child;
  }
  return nullptr;
}

void Settle() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

namespace {

// A 96 x 72 picture with one opaque entry: small enough for the previews to show it at 100 %,
// so that the After preview runs the record's values unscaled.
constexpr int kWidth = 96, kHeight = 72;

HGLOBAL MakePicture(int picture) {
  if (picture == kNone) return nullptr;
  const bool grey = picture == kGrey;
  HGLOBAL image =
      grey ? MakeGreyDib(kWidth, kHeight, [](int x, int y) { return uint8_t((x * 5 + y * 3) % 256); })
      : picture == kRamps
          ? MakeRgbDib(kWidth, kHeight, [](int x, int y) {
              return Bgr{uint8_t(20 + x * 180 / 95), uint8_t(60 + y * 100 / 71), uint8_t(40 + x * 190 / 95)};
            })
          : MakeRgbDib(kWidth, kHeight, [](int x, int y) { return Bgr{uint8_t(x * 2), uint8_t(y * 3), uint8_t((x * y) % 256)}; });
  HGLOBAL mask = MakeGreyDib(kWidth, kHeight, [](int, int) { return uint8_t{255}; });
  HGLOBAL host = MakeHostImage(kWidth, kHeight, {{image, mask}}, 0);
  if (grey) {
    static_cast<HostImage*>(GlobalLock(host))->imageType = 8;
    GlobalUnlock(host);
  }
  return host;
}

// Counts the refresh requests that reach the After preview.
int refreshes = 0;
WNDPROC afterProc = nullptr;
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRefreshRequest) ++refreshes;
  return CallWindowProcA(afterProc, window, message, wParam, lParam);
}

// The image of a preview control's entry 0 (the control's own), or null.
HGLOBAL PreviewPicture(HWND dialog, int id) {
  const PreviewState* state = PreviewOf(dialog, id);
  ImageEntry* entry = state ? LockImageEntry(state->view.previewImage, 0) : nullptr;
  HGLOBAL image = entry ? entry->image : nullptr;
  if (entry) UnlockHostImage(state->view.previewImage);
  return image;
}

// The effect in a thread of its own: its random generator starts afresh, as the dialog's did.
std::vector<uint8_t> EffectPixels(HGLOBAL picture, int effect, const void* record) {
  std::vector<uint8_t> pixels;
  std::thread([&] {
    ScopedDib result(ApplyEffect(picture, effect, record));
    if (result) pixels = PixelBytes(result.get());
  }).join();
  return pixels;
}

// Whether the top-left pixel of a direction button shows its arrow bitmap's background
// (light, 236 233 216) inverted.
bool DrawnInverted(HWND button) {
  UpdateWindow(button);
  HDC dc = GetDC(button);
  const COLORREF pixel = GetPixel(dc, 0, 0);
  ReleaseDC(button, dc);
  return pixel == RGB(255 - 236, 255 - 233, 255 - 216);
}

}  // namespace

std::vector<uint8_t> PreviewPixels(HWND dialog, int id) {
  HGLOBAL picture = PreviewPicture(dialog, id);
  return picture ? PixelBytes(picture) : std::vector<uint8_t>{};
}

namespace {

std::string Describe(const Step& step) {
  static const char* const kNames[] = {
      "Scroll", "Click", "Type", "Select", "Mouse", "Resize", "File", "Text", "Enabled", "Checked", "Position",
      "Fields", "Bytes", "Focus", "Inverted", "Selected", "Items", "Refreshes", "Zooms", "AfterShowsEffect",
      "AfterShowsPicture", "Effect", "Embedded"};
  std::ostringstream out;
  out << kNames[step.kind] << "(" << step.id << ", " << step.value << ", " << step.extra << ")";
  return out.str();
}

// A combo box's entries joined by ", ".
std::string ListItems(HWND list) {
  std::string items;
  for (int i = 0; i < SendMessageA(list, CB_GETCOUNT, 0, 0); ++i) {
    char name[64] = "";
    SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(name));
    items += (i ? ", " : "") + std::string(name);
  }
  return items;
}

class Player {
 public:
  Player(const Opening& opening, int32_t* record, const int* effectId, std::vector<std::string>* failures)
      : opening_(opening), record_(record), effectId_(effectId), failures_(failures) {}

  void Play(HWND dialog) {
    if (effectId_) Settle();
    refreshes = 0;
    afterProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(GetDlgItem(dialog, IDC_PREVIEW_AFTER), GWLP_WNDPROC,
                                                            reinterpret_cast<LONG_PTR>(CountingProc)));
    for (size_t i = 0; i < opening_.steps.size() && IsWindow(dialog); ++i) {
      step_ = i;
      Do(dialog, opening_.steps[i]);
    }
  }

 private:
  void Fail(const std::string& what) {
    failures_->push_back("step " + std::to_string(step_ + 1) + " " + Describe(opening_.steps[step_]) + ": " + what);
  }
  template <typename T>
  void Expect(const T& actual, const T& expected, const std::string& where = "") {
    if (actual == expected) return;
    std::ostringstream out;
    out << where << "got " << actual << ", expected " << expected;
    Fail(out.str());
  }

  void Do(HWND dialog, const Step& step) {
    // In the browser: the embedded dialog, which holds the controls the browser lacks.
    const HWND inner = effectId_ ? EmbeddedDialog(dialog) : nullptr;
    const HWND effectDialog = inner ? inner : dialog;
    if (step.id && !GetDlgItem(dialog, step.id) && inner) dialog = inner;
    HWND control = step.id ? GetDlgItem(dialog, step.id) : dialog;
    const bool lists = step.kind == Step::kSelect || step.kind == Step::kSelected || step.kind == Step::kItems;
    if (lists && !CAN_CHECK(ComboBoxesWork(), "a list selection")) return;
    switch (step.kind) {
      case Step::kScroll:
        ScrollSlider(dialog, step.id, step.value, step.extra);
        break;
      case Step::kClick:
        ClickButton(dialog, step.id);
        break;
      case Step::kType:
        SetWindowTextA(control, step.text);
        break;
      case Step::kSelect:
        SendMessageA(control, CB_SETCURSEL, step.value, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(step.id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(control));
        break;
      case Step::kMouse:
        SendMessageA(control, step.value, step.extra, MAKELPARAM(step.values[0], step.values[1]));
        break;
      case Step::kResize: {
        RECT window, client;
        GetWindowRect(control, &window);
        GetClientRect(control, &client);
        SetWindowPos(control, nullptr, 0, 0, step.value + (window.right - window.left) - client.right,
                     step.extra + (window.bottom - window.top) - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
        break;
      }
      case Step::kFile: {
        const std::string title = ClickAndAnswerFileDialog(dialog, step.id, step.text);
        if (title.empty()) Fail("no file dialog");
        if (step.title) Expect(title, std::string(step.title));
        break;
      }
      case Step::kSelected:
        Expect(int(SendMessageA(control, CB_GETCURSEL, 0, 0)), step.value);
        break;
      case Step::kItems:
        Expect(ListItems(control), std::string(step.text));
        break;
      case Step::kText:
        Expect(WindowText(control), std::string(step.text));
        break;
      case Step::kEnabled:
        Expect(IsWindowEnabled(control) != 0, step.value != 0);
        break;
      case Step::kChecked:
        Expect(IsDlgButtonChecked(dialog, step.id) == BST_CHECKED, step.value != 0);
        break;
      case Step::kPosition:
        Expect(GetScrollPos(control, SB_CTL), step.value);
        break;
      case Step::kFields:
      case Step::kBytes:
        for (size_t i = 0; i < step.values.size(); ++i) {
          const int at = step.value + int(i);
          const int32_t actual = step.kind == Step::kFields ? record_[at] : reinterpret_cast<const uint8_t*>(record_)[at];
          Expect(actual, step.values[i], (step.kind == Step::kFields ? "word " : "byte ") + std::to_string(at) + ": ");
        }
        break;
      case Step::kFocus:
        Expect(GetDlgCtrlID(GetFocus()), step.id);
        break;
      case Step::kInverted:
        if (CAN_CHECK(PixelsReadable(), "direction button drawing")) Expect(DrawnInverted(control), step.value != 0);
        break;
      case Step::kRefreshes:
        Expect(refreshes, step.value);
        refreshes = 0;
        break;
      case Step::kZooms:
        for (int id : {IDC_PREVIEW_BEFORE, IDC_PREVIEW_AFTER}) {
          const PreviewState* state = PreviewOf(effectDialog, id);
          const std::string which = id == IDC_PREVIEW_BEFORE ? "Before " : "After ";
          Expect(IsWindowVisible(GetDlgItem(state->window, IDC_ZOOM_IN)) != 0,
                 id == IDC_PREVIEW_BEFORE && step.value != 0, which + "zoom buttons: ");
          Expect(state->panEnabled != 0, step.value != 0, which + "panning: ");
        }
        break;
      case Step::kAfter:
      case Step::kAfterPicture:
        CheckAfter(effectDialog, step.kind == Step::kAfter);
        break;
      case Step::kEffect:
        if (!effectId_) return Fail("not in the browser");
        Expect(*effectId_, step.value);
        break;
      case Step::kEmbedded:
        Expect(inner != nullptr, step.value != 0, "embedded: ");
        if (inner) Expect(GetDlgItem(inner, IDC_PREVIEW_AFTER) && !IsWindowVisible(GetDlgItem(inner, IDOK)), true,
                          "previews and a hidden OK: ");
        break;
    }
  }

  void CheckAfter(HWND dialog, bool effect) {
    SendMessageA(GetDlgItem(dialog, IDC_PREVIEW_AFTER), WM_TIMER, kPreviewTimer, 0);
    HGLOBAL source = PreviewPicture(dialog, IDC_PREVIEW_BEFORE), shown = PreviewPicture(dialog, IDC_PREVIEW_AFTER);
    if (!source || !shown) return Fail("no preview image");
    const std::vector<uint8_t> before = PixelBytes(source), after = PixelBytes(shown);
    if (!effect) {
      if (after != before) Fail("the After preview differs from the picture");
      return;
    }
    const std::vector<uint8_t> expected = EffectPixels(source, effectId_ ? *effectId_ : opening_.effect, record_);
    if (expected.empty()) return Fail("the effect refused the record");
    if (expected == before) Fail("the effect leaves this picture as it is: a weak check");
    if (after != expected) Fail("the After preview differs from the effect on the Before picture");
  }

  const Opening& opening_;
  int32_t* record_;
  const int* effectId_;  // the browser's answer; null for GetFxParam
  std::vector<std::string>* failures_;
  size_t step_ = 0;
};

}  // namespace

namespace {

void Run(const std::vector<Opening>& openings, bool browser) {
  for (size_t n = 0; n < openings.size(); ++n) {
    const Opening& opening = openings[n];
    std::vector<int32_t> record(80, 0);  // room for the longest record (a word and a 256-byte curve)
    std::copy(opening.record.begin(), opening.record.end(), record.begin());
    std::vector<std::string> failures;
    HGLOBAL host = MakePicture(opening.picture);
    int result = -99, effectId = kNoEffect;
    std::thread([&] {
      Player player(opening, record.data(), browser ? &effectId : nullptr, &failures);
      result = DriveDialog(
          [&] {
            return browser ? GetFxBrowserParam(nullptr, host, &effectId, record.data(), 0)
                           : GetFxParam(opening.effect, nullptr, host, record.data());
          },
          [&](HWND dialog) { player.Play(dialog); });
    }).join();
    if (host) FreeHostImage(host);
    SCOPED_TRACE("opening " + std::to_string(n + 1) + (browser ? " of the browser, effect " : " of effect ") +
                 std::to_string(opening.effect));
    for (const std::string& failure : failures) ADD_FAILURE() << failure;
    EXPECT_EQ(result, opening.result);
    EXPECT_EQ(browser ? effectId : opening.effect, opening.effect) << "the effect the browser gives back";
    for (size_t i = 0; i < opening.expected.size(); ++i) EXPECT_EQ(record[i], opening.expected[i]) << "word " << i;
  }
}

}  // namespace

void RunOpenings(const std::vector<Opening>& openings) { Run(openings, false); }
void RunBrowserOpenings(const std::vector<Opening>& openings) { Run(openings, true); }
