// The <cf_mail> tag: hands a message with recipients and attachments to the mail program.
#pragma once

#include "engine/TPBaseTag.h"

namespace vantrel {

// Builds the message (recipients of to, cc and bcc in that order, then the
// attachments) and hands it to the host's mail program; 0 when it was handed over.
int SendMailMessage(TEngine& engine, const std::string& subject, const std::string& body, const std::string& to,
                    const std::string& cc, const std::string& bcc, const std::string& attach, int flags);

class TPMailTag : public TPBaseTag {
 public:
  TPMailTag(TPBaseTag* parent, std::string_view attributeText);
  std::string Render() override;
  std::string GetValue(std::string_view Name, bool Quoted) override { return ParentGetValue(Name, Quoted); }
  bool IsDefined(std::string_view Name) override { return ParentIsDefined(Name); }
};

}  // namespace vantrel
