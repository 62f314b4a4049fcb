// Writes one picture of each format a phone or camera hands over into FOLDER, for the
// browser test of a site made from them: a portrait HEIC, an AVIF, a WebP, a PNG with a transparent half, a 16-bit TIFF and a PNG
// named .jpg. Each is a grey picture with a red top-left corner.
//   e2e_make_pictures FOLDER
#include <vips/vips.h>

#include <cstdio>
#include <string>

namespace {

VipsImage* Drawn(int width, int height) {
  VipsImage* black = nullptr;
  VipsImage* grey = nullptr;
  vips_black(&black, width, height, "bands", 3, nullptr);
  vips_linear1(black, &grey, 1.0, 128.0, "uchar", TRUE, nullptr);
  g_object_unref(black);
  double red[] = {255.0, 0.0, 0.0};
  vips_draw_rect(grey, red, 3, 0, 0, width / 4, height / 4, "fill", TRUE, nullptr);
  return grey;
}

// `make` turns `in` into `*out`; `in` is released either way.
template <typename Make>
VipsImage* With(VipsImage* in, Make make) {
  VipsImage* out = nullptr;
  const int failed = make(in, &out);
  g_object_unref(in);
  return failed == 0 ? out : nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || VIPS_INIT(argv[0]) != 0) {
    std::fprintf(stderr, "usage: e2e_make_pictures FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  VipsImage* portrait = Drawn(600, 900);
  VipsImage* clear = With(Drawn(900, 600), [](VipsImage* in, VipsImage** out) {
    VipsImage* alpha = nullptr;
    VipsImage* cast = nullptr;
    vips_black(&alpha, 900, 600, nullptr);
    double opaque[] = {255.0};
    vips_draw_rect(alpha, opaque, 1, 0, 0, 450, 600, "fill", TRUE, nullptr);
    vips_cast_uchar(alpha, &cast, nullptr);
    const int failed = vips_bandjoin2(in, cast, out, nullptr);
    g_object_unref(alpha);
    g_object_unref(cast);
    return failed;
  });
  VipsImage* deep = With(Drawn(900, 600), [](VipsImage* in, VipsImage** out) {
    return vips_colourspace(in, out, VIPS_INTERPRETATION_RGB16, nullptr);
  });
  VipsImage* plain = Drawn(900, 600);
  const struct {
    VipsImage* image;
    const char* name;
    bool png;
  } files[] = {{portrait, "portrait.heic", false}, {plain, "photo.avif", false},  {plain, "photo.webp", false},
               {clear, "clear.png", false},        {deep, "deep.tif", false},     {plain, "png-inside.jpg", true}};
  int status = 0;
  for (const auto& file : files) {
    const std::string path = folder + "/" + file.name;
    const int failed = file.image == nullptr ? -1
                       : file.png            ? vips_pngsave(file.image, path.c_str(), nullptr)
                                             : vips_image_write_to_file(file.image, path.c_str(), nullptr);
    if (failed != 0) {
      std::fprintf(stderr, "%s: %s\n", path.c_str(), vips_error_buffer());
      status = 1;
    }
  }
  for (VipsImage* image : {portrait, clear, deep, plain}) {
    if (image != nullptr) g_object_unref(image);
  }
  return status;
}
