// The tag-name table; see TagTable.h.
#include "engine/TagTable.h"

#include <array>

#include "engine/tags/AllTags.h"

namespace vantrel {

namespace {

template <class T>
std::unique_ptr<TPBaseTag> Make(TPBaseTag* parent, std::string_view text) {
  return std::make_unique<T>(parent, text);
}

std::unique_ptr<TPBaseTag> MakeSetQ(TPBaseTag* parent, std::string_view text) {
  return std::make_unique<TPSetTag>(parent, text, TPSetTag::NoFragment{});
}

constexpr std::array<TTagRow, 23> kTagTable{{
    {"include", kInclude, &Make<TPIncludeTag>},
    {"file", kFile, &Make<TPFileTag>},
    {"_file", kFile2, &Make<TPFileTag2>},
    {"set", kSet, &Make<TPSetTag>},
    {"setq", kSetQ, &MakeSetQ},
    {"application", kApplication, nullptr},
    {"cookie", kCookie, &Make<TPCookieTag>},
    {"header", kHeader, nullptr},
    {"location", kLocation, &Make<TPLocationTag>},
    {"setting", kSetting, nullptr},
    {"transaction", kTransaction, nullptr},
    {"query", kQuery, &Make<TPQueryTag>},
    {"output", kOutput, &Make<TPOutputTag>},
    {"loop", kLoop, &Make<TPLoopTag>},
    {"if", kIf, &Make<TPIfTag>},
    {"else", kElse, &Make<TPElseTag>},
    {"elseif", kElseIf, &Make<TPElseIfTag>},
    {"param", kParam, &Make<TPParamTag>},
    {"function", kFunction, nullptr},
    {"variable", kVariable, nullptr},
    {"debug", kDebug, &Make<TPDebugTag>},
    {"comment", kComment, &Make<TPCommentTag>},
    {"_mail", kMail, &Make<TPMailTag>},
}};

}  // namespace

const TTagRow* FindTag(std::string_view name) {
  for (const TTagRow& row : kTagTable)
    if (row.Name == name) return &row;
  return nullptr;
}

}  // namespace vantrel
