// The C API with whatever a caller might pass: any enumeration value, any bytes as texts
// (not UTF-8, control characters, very long), any order of calls. Every call must answer
// with a status from the list, a failure must say why, and a success must give a file
// that a second render repeats byte for byte.
#include <strimlo/strimlo.h>

#include <string>
#include <vector>

#include "fuzz_input.h"

namespace strimlo::fuzz {

namespace {

bool known(strimlo_status s) { return s >= STRIMLO_OK && s <= STRIMLO_ERROR_INTERNAL; }

void check(strimlo_request* r, strimlo_status s) {
  FUZZ_CHECK(known(s));
  FUZZ_CHECK((s == STRIMLO_OK) == (*strimlo_error(r) == '\0'));
}

}  // namespace

void fuzzOne(Input& in) {
  strimlo_request* r = strimlo_request_new();
  FUZZ_CHECK(r != nullptr);
  check(r, strimlo_set_type(r, static_cast<strimlo_type>(in.selector())));
  check(r, strimlo_set_format(r, static_cast<strimlo_format>(in.selector())));
  check(r, strimlo_set_size(r, in.selector()));
  // Large rasters take a second each: the range check gets any value, the render a small one.
  check(r, strimlo_set_resolution(r, in.selector()));
  check(r, strimlo_set_resolution(r, in.byte() % 3));
  check(r, strimlo_set_strict(r, in.byte() & 1));
  check(r, strimlo_set_quiet_zones(r, in.byte() & 1));
  check(r, strimlo_set_transparent(r, in.byte() & 1));
  check(r, strimlo_set_bar_reduction(r, in.selector()));
  const std::string type(in.text()), data(in.text()), addon(in.text()), price(in.text()),
      variant(in.text());
  if (!type.empty()) check(r, strimlo_set_type_name(r, type.c_str()));
  check(r, strimlo_set_data(r, data.c_str()));
  check(r, strimlo_set_addon(r, addon.c_str()));
  check(r, strimlo_set_price(r, price.c_str()));
  check(r, strimlo_set_variant(r, variant.c_str()));
  // The 2D part: its texts, any level or companion value, modules around both ranges (a
  // byte as hundredths of a millimetre, 0 clearing), in any order with the type.
  const std::string ai(in.text()), domain(in.text());
  check(r, strimlo_set_ai(r, ai.c_str()));
  check(r, strimlo_set_dl_domain(r, domain.c_str()));
  check(r, strimlo_set_ecc(r, static_cast<strimlo_ecc>(in.byte() ? in.selector() : 'M')));
  check(r, strimlo_set_companion(r, static_cast<strimlo_companion>(in.selector())));
  check(r, strimlo_set_companion_module(r, in.byte() / 100.0));
  check(r, strimlo_set_module(r, in.byte() / 100.0));
  check(r, strimlo_set_gtin_text(r, in.byte() & 1));
  if (in.byte() & 1) check(r, strimlo_set_type(r, static_cast<strimlo_type>(in.selector())));

  std::size_t size = 0;
  const strimlo_status s = strimlo_render(r, nullptr, 0, &size);
  check(r, s);
  if (s == STRIMLO_OK) {
    FUZZ_CHECK(size > 0);
    std::vector<unsigned char> small(size / 2);
    FUZZ_CHECK(strimlo_render(r, small.data(), small.size(), &size) == STRIMLO_ERROR_BUFFER_TOO_SMALL);
    std::vector<unsigned char> whole(size);
    std::size_t again = 0;
    check(r, strimlo_render(r, whole.data(), whole.size(), &again));
    FUZZ_CHECK(again == size);
  }
  for (std::size_t i = 0; strimlo_note(r, i) != nullptr; ++i) FUZZ_CHECK(*strimlo_note(r, i) != '\0');
  strimlo_request_free(r);
}

}  // namespace strimlo::fuzz
