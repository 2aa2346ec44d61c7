#pragma once
// The two algorithms behind MakeCode's named operations.
#include <optional>
#include <string>
#include <string_view>

#include "gs1.h"
#include "makecode.h"

namespace strimlo {

SaveOutcome renderFile(CodeType type, std::string_view text, std::string_view addon,
                       std::string_view price, SizeIndex size, ResolutionIndex res,
                       FileFormat format, const std::string& path,
                       const Prepress& prepress = {}, TypeFace face = TypeFace::Sans,
                       bool outlineText = false);

std::optional<PreviewImage> renderPreview(CodeType type, std::string_view text,
                                          std::string_view addon, std::string_view price,
                                          int width, int height,
                                          const Prepress& prepress = {},
                                          TypeFace face = TypeFace::Sans);
// The preview of typed texts with the 2D options: a 2D type's matrix, or a linear symbol
// with its companion beside it; without either, as MakeCode::PreviewCode draws it.
std::optional<PreviewImage> renderPreview(CodeType type, std::string_view text,
                                          std::string_view addon, std::string_view price,
                                          int width, int height, const Prepress& prepress,
                                          TypeFace face, const Gs1Options& gs1);
// The preview of a completed symbol; a linear one's 2D companion stands beside it.
std::optional<PreviewImage> renderPreview(const Symbol& symbol, int width, int height,
                                          const Prepress& prepress = {},
                                          TypeFace face = TypeFace::Sans);

}  // namespace strimlo
