#include "fonttables/Gsub.h"

namespace fonttables {

Result<std::vector<Tag>> ReadFeatureTags(Bytes gsub) {
  using R = Result<std::vector<Tag>>;
  Reader r(gsub);
  if (!r.Has(0, 10)) return R::Fail("GSUB: header is cut short");
  if (r.U16(0) != 1) return R::Fail("GSUB: unknown version " + std::to_string(r.U16(0)));
  std::size_t list = r.U16(6);
  std::vector<Tag> tags;
  if (list == 0) return tags;  // no feature list: no features
  if (!r.Has(list, 2)) return R::Fail("GSUB: feature list lies past the end");
  std::uint16_t count = r.U16(list);
  if (!r.Has(list + 2, std::uint64_t{count} * 6)) return R::Fail("GSUB: more features listed than present");
  tags.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t rec = list + 2 + i * 6;
    if (!r.Has(list + r.U16(rec + 4), 4)) return R::Fail("GSUB: a feature lies past the end");
    tags.push_back(r.U32(rec));
  }
  return tags;
}

VerticalForms FindVerticalForms(const std::vector<Tag>& features) {
  VerticalForms forms;
  for (Tag tag : features) {
    forms.vert |= tag == MakeTag("vert");
    forms.vrt2 |= tag == MakeTag("vrt2");
  }
  return forms;
}

}  // namespace fonttables
