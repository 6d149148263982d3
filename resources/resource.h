// Resource identifiers of fxUi.dll, shared by fxui.rc and the code. Each number appears here
// once; everything else uses the names.
#ifndef FXUI_RESOURCES_RESOURCE_H
#define FXUI_RESOURCES_RESOURCE_H

// ---- Dialog templates --------------------------------------------------------------------
#define IDD_BRIGHTNESS_CONTRAST 4341
#define IDD_HUE_SATURATION 4342
#define IDD_MOSAIC 4343
#define IDD_COLOR_REDUCTION 4344
#define IDD_THRESHOLD 4345
#define IDD_USER_FILTER 4346
#define IDD_SKETCH 4347
#define IDD_FIND_CONTOUR 4349
#define IDD_EMBOSS 4350
#define IDD_MOTION_BLUR 4351
#define IDD_3D_GRID 4352
#define IDD_FILTER_SIZE 4353
#define IDD_INTENSITY 4356
#define IDD_RIBBON 4357
#define IDD_MAGIC_MIRROR 4358
#define IDD_TONE_ADJUSTMENT 4359
#define IDD_UNSHARP_MASK 4360
#define IDD_EFFECT_BROWSER 4386

// ---- Controls ----------------------------------------------------------------------------
// Direction buttons of the emboss and motion blur dialogs, top left to bottom right.
#define IDC_DIRECTION_1 4201
#define IDC_DIRECTION_2 4202
#define IDC_DIRECTION_3 4203
#define IDC_DIRECTION_4 4204
#define IDC_DIRECTION_5 4205
#define IDC_DIRECTION_6 4206
#define IDC_DIRECTION_7 4207
#define IDC_DIRECTION_8 4208
// The one slider of the filter-size, motion blur and emboss dialogs: label, then scroll bar.
#define IDC_SIZE_LABEL 4209
#define IDC_SIZE_SLIDER 4210
// Emboss modes.
#define IDC_EMBOSS_ORIGINAL 4211
#define IDC_EMBOSS_MIDTONE 4212
#define IDC_EMBOSS_GRAY 4213
#define IDC_EMBOSS_ACTIVE 4214
// 3D grid: size, height and shape groups.
#define IDC_GRID_LARGE 4215
#define IDC_GRID_MEDIUM 4216
#define IDC_GRID_SMALL 4217
#define IDC_GRID_HIGH 4218
#define IDC_GRID_MEDIUM_HEIGHT 4219
#define IDC_GRID_LOW 4220
#define IDC_GRID_REGULAR 4221
#define IDC_GRID_IRREGULAR 4222
// Mosaic: width and height scroll bars, their labels, and "Square".
#define IDC_MOSAIC_WIDTH 4270
#define IDC_MOSAIC_HEIGHT 4271
#define IDC_MOSAIC_WIDTH_LABEL 4272
#define IDC_MOSAIC_HEIGHT_LABEL 4273
#define IDC_MOSAIC_SQUARE 4275
// Find contour threshold.
#define IDC_CONTOUR_LABEL 4279
#define IDC_CONTOUR_SLIDER 4280
// Sketch styles.
#define IDC_SKETCH_CRAYON 4290
#define IDC_SKETCH_PENCIL 4291
// Intensity.
#define IDC_INTENSITY_LABEL 4292
#define IDC_INTENSITY_SLIDER 4293
// Ribbon frequency and amplitude.
#define IDC_RIBBON_FREQUENCY 4294
#define IDC_RIBBON_FREQUENCY_LABEL 4295
#define IDC_RIBBON_AMPLITUDE_LABEL 4296
#define IDC_RIBBON_AMPLITUDE 4297
// Unsharp mask: three labels, then their scroll bars.
#define IDC_UNSHARP_SIZE_LABEL 4321
#define IDC_UNSHARP_EFFECT_LABEL 4322
#define IDC_UNSHARP_THRESHOLD_LABEL 4323
#define IDC_UNSHARP_SIZE 4324
#define IDC_UNSHARP_EFFECT 4325
#define IDC_UNSHARP_THRESHOLD 4326
// Tone Adjustment: "&Auto", the three value labels, their scroll bars, the histogram panel.
#define IDC_TONE_AUTO 4223
#define IDC_TONE_HIGHLIGHT_LABEL 4310
#define IDC_TONE_MIDTONE_LABEL 4311
#define IDC_TONE_SHADOW_LABEL 4312
#define IDC_TONE_HIGHLIGHT 4313
#define IDC_TONE_MIDTONE 4314
#define IDC_TONE_SHADOW 4315
#define IDC_TONE_PANEL 4320
// User's Filter: the 5 x 5 kernel cells (row r, column c is IDC_KERNEL_FIRST + 5 r + c),
// scale and bias, the symmetry group "No", "Hori", "Vert", "4Way", and the buttons.
#define IDC_KERNEL_FIRST 4237
#define IDC_KERNEL_LAST 4261
#define IDC_FILTER_SCALE 4281
#define IDC_FILTER_BIAS 4282
#define IDC_SYMMETRY_NONE 4283
#define IDC_SYMMETRY_HORI 4284
#define IDC_SYMMETRY_VERT 4285
#define IDC_SYMMETRY_4WAY 4286
#define IDC_FILTER_LOAD 4287
#define IDC_FILTER_SAVE 4288
#define IDC_FILTER_RESET 4289
// Magic Mirror: the curve editor, the mapping group, the axis letter, the function list and
// the buttons.
#define IDC_CURVE_EDITOR 4298
#define IDC_MAPPING_HORIZONTAL 4299
#define IDC_MAPPING_VERTICAL 4300
#define IDC_MAPPING_RADIAL 4301
#define IDC_MAPPING_ANGULAR 4302
#define IDC_CURVE_AXIS 4303
#define IDC_CURVE_FUNCTION 4304
#define IDC_CURVE_OPERATE 4305
#define IDC_CURVE_LOAD 4306
#define IDC_CURVE_SAVE 4307
// The slider pairs of the one- and two-slider dialogs: value label, then scroll bar.
#define IDC_LABEL_1 4262
#define IDC_SLIDER_1 4263
#define IDC_LABEL_2 4264
#define IDC_SLIDER_2 4265
// Channel radio buttons "RGB", "R", "G", "B".
#define IDC_CHANNEL_RGB 4266
#define IDC_CHANNEL_R 4267
#define IDC_CHANNEL_G 4268
#define IDC_CHANNEL_B 4269
// The Before and After preview controls (class previewwnd) of every effect dialog.
#define IDC_PREVIEW_BEFORE 4327
#define IDC_PREVIEW_AFTER 4328
// The effect browser.
#define IDC_BROWSER_LABEL 4501
#define IDC_BROWSER_LIST 4502
#define IDC_BROWSER_FRAME 4508
// The zoom buttons inside a preview control.
#define IDC_ZOOM_IN 10000
#define IDC_ZOOM_OUT 10001

// ---- Strings -----------------------------------------------------------------------------
// Titles of the intensity dialog, by effect.
#define IDS_FILM_GRAIN 4329
#define IDS_SPLASH 4330
#define IDS_RIPPLE 4331
#define IDS_WRINKLE 4332
#define IDS_FISHEYE 4333
#define IDS_CONE 4334
#define IDS_WHIRLPOOL 4335
#define IDS_SPIRAL 4336
#define IDS_ADD_NOISE 4337
#define IDS_MELTING 4338
#define IDS_AUTO_ENHANCE 4339
#define IDS_OIL_PAINTING 4340
// Caption of the "RGB" button for a grey picture.
#define IDS_GRAY 4341
// The Magic Mirror curve functions.
#define IDS_CURVE_CIRCLE 4371
#define IDS_CURVE_EXPONENT 4372
#define IDS_CURVE_LOGARITHM 4373
#define IDS_CURVE_SINE 4374
#define IDS_CURVE_ARCSINE 4375
#define IDS_CURVE_SQUARE 4376
#define IDS_CURVE_SQUAREROOT 4377
#define IDS_CURVE_RESET 4378
#define IDS_CURVE_SMOOTH 4379
#define IDS_LOAD_MAGIC_CURVE 4380
// Titles of the other three file dialogs.
#define IDS_SAVE_MAGIC_CURVE 4388
#define IDS_LOAD_USER_FILTER 4389
#define IDS_SAVE_USER_FILTER 4390
// Titles of the filter-size dialog, by effect.
#define IDS_AVERAGE 4381
#define IDS_MAXIMUM 4382
#define IDS_MEDIAN 4383
#define IDS_MINIMUM 4384
#define IDS_GAUSSIAN_BLUR 4385

// ---- Bitmaps and cursors -----------------------------------------------------------------
// Arrows of the direction buttons 1 to 8.
#define IDB_DIRECTION_1 4362
#define IDB_DIRECTION_2 4363
#define IDB_DIRECTION_3 4364
#define IDB_DIRECTION_4 4365
#define IDB_DIRECTION_5 4366
#define IDB_DIRECTION_6 4367
#define IDB_DIRECTION_7 4368
#define IDB_DIRECTION_8 4369
// The curve editor's cross and the preview display's hand.
#define IDR_CURVE_CURSOR 4370
#define IDR_PAN_CURSOR 4387

#endif
