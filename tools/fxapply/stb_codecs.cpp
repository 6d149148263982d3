// The PNG and JPEG codecs: the header-only stb_image and stb_image_write, compiled once here.
// BMP stays with the library's own loader, which keeps palette files as they are.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#include <stb_image.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
