// The brightness and contrast dialog (effect 1): two sliders around 128 and the channel group.
#include <new>

#include "fxui.h"
#include "resources/resource.h"
#include "ui/dialog_framework.h"
#include "ui/dialogs/dialogs.h"

namespace {

constexpr SliderRange kRange = {0, 255, 16};
constexpr int kCentre = 128;

// Slider positions, back at the centre at every opening.
int brightnessPosition = kCentre;
int contrastPosition = kCentre;

void WriteRecord(HWND dialog, const DialogContext& context) {
  auto* params = static_cast<BrightnessContrastParams*>(context.record);
  params->channel = CheckedChannel(dialog, params->channel);
  params->brightness = brightnessPosition - kCentre;
  params->contrast = contrastPosition - kCentre;
}

INT_PTR InitDialog(HWND dialog, DialogContext* context) {
  SetWindowLongPtrA(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(context));
  PreviewHookup(dialog, context->image, EFFECT_BRIGHTNESS_CONTRAST);
  InitSlider(dialog, IDC_SLIDER_1, kRange, brightnessPosition);
  InitSlider(dialog, IDC_SLIDER_2, kRange, contrastPosition);
  CheckRadioButton(dialog, IDC_CHANNEL_RGB, IDC_CHANNEL_B, IDC_CHANNEL_RGB);
  if (IsGrayImage(context->image)) ApplyGrayLayout(dialog);
  WriteRecord(dialog, *context);
  SendRefreshRequest(dialog, context->record);
  return context->modal;
}

void Scroll(HWND dialog, const DialogContext& context, WPARAM wParam, LPARAM lParam) {
  const bool brightness = GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == IDC_SLIDER_1;
  const int position = HandleSliderScroll(wParam, lParam, kRange);
  if (position < 0) return;
  (brightness ? brightnessPosition : contrastPosition) = position;
  SetLabelNumber(dialog, brightness ? IDC_LABEL_1 : IDC_LABEL_2, "%d", position - kCentre);
  WriteRecord(dialog, context);
  SendRefreshRequest(dialog, context.record);
}

INT_PTR CALLBACK BrightnessContrastProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return InitDialog(dialog, reinterpret_cast<DialogContext*>(lParam));
  auto* context = reinterpret_cast<DialogContext*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
  if (!context) return FALSE;
  switch (message) {
    case WM_HSCROLL:
      Scroll(dialog, *context, wParam, lParam);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_CHANNEL_RGB:
        case IDC_CHANNEL_R:
        case IDC_CHANNEL_G:
        case IDC_CHANNEL_B:
          WriteRecord(dialog, *context);
          SendRefreshRequest(dialog, context->record);
          return TRUE;
        case IDOK:  // the record is always current
          EndEffectDialog(dialog, context->modal, 1);
          return TRUE;
        case IDCANCEL:
          EndEffectDialog(dialog, context->modal, 0);
          return TRUE;
      }
      break;
    case WM_DESTROY:
      SetWindowLongPtrA(dialog, GWLP_USERDATA, 0);
      delete context;
      break;
  }
  return FALSE;
}

}  // namespace

INT_PTR OpenBrightnessContrastDialog(int, HWND parent, HGLOBAL image, void* record, int modal) {
  auto* context = new (std::nothrow) DialogContext{image, modal, record};
  if (!context) return 0;
  brightnessPosition = contrastPosition = kCentre;
  return RunDialogTemplate(IDD_BRIGHTNESS_CONTRAST, BrightnessContrastProc, parent,
                           reinterpret_cast<LPARAM>(context), modal);
}
