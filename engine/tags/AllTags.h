// Every tag class, for the tag-name table and the parser.
#pragma once

#include "engine/tags/TPCommentTag.h"
#include "engine/tags/TPCookieTag.h"
#include "engine/tags/TPDebugTag.h"
#include "engine/tags/TPElseIfTag.h"
#include "engine/tags/TPElseTag.h"
#include "engine/tags/TPFileTag.h"
#include "engine/tags/TPFileTag2.h"
#include "engine/tags/TPFnTag.h"
#include "engine/tags/TPIfTag.h"
#include "engine/tags/TPIncludeTag.h"
#include "engine/tags/TPLocationTag.h"
#include "engine/tags/TPLoopTag.h"
#include "engine/tags/TPMailTag.h"
#include "engine/tags/TPOutputTag.h"
#include "engine/tags/TPParamTag.h"
#include "engine/tags/TPQueryTag.h"
#include "engine/tags/TPSetTag.h"
#include "engine/tags/TPTextTag.h"
#include "engine/tags/TPVarTag.h"

namespace vantrel {
// True when three characters after "<", lower-cased, begin markup: "cf..", "/cf" or "!--".
bool IsMarkupAhead(std::string_view lowered3);
}  // namespace vantrel
