#pragma once
#include <string>

#include "paint.h"

namespace strimlo {

// Writes a preview image as an 8-bit RGB PNG of its size, atomically.
bool writePreviewPng(const PreviewImage& image, const std::string& path);

}  // namespace strimlo
