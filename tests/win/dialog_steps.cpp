#include "dialog_steps.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <thread>

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

Step Scroll(int bar, int code, int thumb) { return {Step::kScroll, bar, code, thumb, nullptr}; }
Step Click(int button) { return {Step::kClick, button, 0, 0, nullptr}; }
Step Type(int box, const char* text) { return {Step::kType, box, 0, 0, text}; }
Step Select(int list, int index) { return {Step::kSelect, list, index, 0, nullptr}; }
Step Selected(int list, int index) { return {Step::kSelected, list, index, 0, nullptr}; }
Step Text(int id, const char* text) { return {Step::kText, id, 0, 0, text}; }
Step Enabled(int id, bool enabled) { return {Step::kEnabled, id, enabled, 0, nullptr}; }
Step Checked(int id, bool checked) { return {Step::kChecked, id, checked, 0, nullptr}; }
Step Position(int bar, int position) { return {Step::kPosition, bar, position, 0, nullptr}; }
Step Field(int word, int value) { return {Step::kField, 0, word, value, nullptr}; }
Step Focus(int id) { return {Step::kFocus, id, 0, 0, nullptr}; }
Step Inverted(int button, bool inverted) { return {Step::kInverted, button, inverted, 0, nullptr}; }
Step Refreshes(int count) { return {Step::kRefreshes, 0, count, 0, nullptr}; }
Step AfterShowsEffect() { return {Step::kAfter, 0, 0, 0, nullptr}; }

namespace {

// A 96 x 72 picture with one opaque entry: small enough for the previews to show it at 100 %,
// so that the After preview runs the record's values unscaled.
constexpr int kWidth = 96, kHeight = 72;

HGLOBAL MakePicture(int picture) {
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

// The image of a preview control's entry 0, copied.
HGLOBAL PreviewPicture(HWND dialog, int id) {
  const PreviewState* state = PreviewOf(dialog, id);
  ImageEntry* entry = state ? LockImageEntry(state->view.previewImage, 0) : nullptr;
  if (!entry) return nullptr;
  const SIZE_T size = GlobalSize(entry->image);
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
  std::memcpy(GlobalLock(copy), GlobalLock(entry->image), size);
  GlobalUnlock(entry->image);
  GlobalUnlock(copy);
  UnlockHostImage(state->view.previewImage);
  return copy;
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
  ScopedDib picture(PreviewPicture(dialog, id));
  return picture ? PixelBytes(picture.get()) : std::vector<uint8_t>{};
}

namespace {

std::string Describe(const Step& step) {
  static const char* const kNames[] = {"Scroll",   "Click",    "Type",     "Select",    "Text",
                                       "Enabled",  "Checked",  "Position", "Field",     "Focus",
                                       "Inverted", "Selected", "Refreshes", "AfterShowsEffect"};
  std::ostringstream out;
  out << kNames[step.kind] << "(" << step.id << ", " << step.value << ", " << step.extra << ")";
  return out.str();
}

class Player {
 public:
  Player(const Opening& opening, int32_t* record, std::vector<std::string>* failures)
      : opening_(opening), record_(record), failures_(failures) {}

  void Play(HWND dialog) {
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
  void Expect(const T& actual, const T& expected) {
    if (actual == expected) return;
    std::ostringstream out;
    out << "got " << actual << ", expected " << expected;
    Fail(out.str());
  }

  void Do(HWND dialog, const Step& step) {
    HWND control = step.id ? GetDlgItem(dialog, step.id) : dialog;
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
        if (CAN_CHECK(ComboBoxesWork(), "a list selection")) SendMessageA(control, CB_SETCURSEL, step.value, 0);
        break;
      case Step::kSelected:
        if (CAN_CHECK(ComboBoxesWork(), "a list selection")) Expect(int(SendMessageA(control, CB_GETCURSEL, 0, 0)), step.value);
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
      case Step::kField:
        Expect(record_[step.value], step.extra);
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
      case Step::kAfter:
        CheckAfter(dialog);
        break;
    }
  }

  void CheckAfter(HWND dialog) {
    SendMessageA(GetDlgItem(dialog, IDC_PREVIEW_AFTER), WM_TIMER, kPreviewTimer, 0);
    ScopedDib source(PreviewPicture(dialog, IDC_PREVIEW_BEFORE));
    ScopedDib shown(PreviewPicture(dialog, IDC_PREVIEW_AFTER));
    if (!source || !shown) return Fail("no preview image");
    const std::vector<uint8_t> expected = EffectPixels(source.get(), opening_.effect, record_);
    if (expected.empty()) return Fail("the effect refused the record");
    if (expected == PixelBytes(source.get())) Fail("the effect leaves this picture as it is: a weak check");
    if (PixelBytes(shown.get()) != expected) Fail("the After preview differs from the effect on the Before picture");
  }

  const Opening& opening_;
  int32_t* record_;
  std::vector<std::string>* failures_;
  size_t step_ = 0;
};

}  // namespace

void RunOpenings(const std::vector<Opening>& openings) {
  for (size_t n = 0; n < openings.size(); ++n) {
    const Opening& opening = openings[n];
    std::vector<int32_t> record(64, 0);
    std::copy(opening.record.begin(), opening.record.end(), record.begin());
    std::vector<std::string> failures;
    HGLOBAL host = MakePicture(opening.picture);
    int result = -99;
    std::thread([&] {
      Player player(opening, record.data(), &failures);
      result = DriveDialog([&] { return GetFxParam(opening.effect, nullptr, host, record.data()); },
                           [&](HWND dialog) { player.Play(dialog); });
    }).join();
    FreeHostImage(host);
    SCOPED_TRACE("opening " + std::to_string(n + 1) + " of effect " + std::to_string(opening.effect));
    for (const std::string& failure : failures) ADD_FAILURE() << failure;
    EXPECT_EQ(result, opening.result);
    for (size_t i = 0; i < opening.expected.size(); ++i) EXPECT_EQ(record[i], opening.expected[i]) << "word " << i;
  }
}
