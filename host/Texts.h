// The plug-in's texts in the user's language, chosen as Windows programs
// choose theirs: for each of the user's UI languages in turn the module's
// resources of exactly that language, then of the same primary language
// (German of Austria gets German); English when none matches.
#pragma once

#include <span>
#include <string_view>

#include "platform/Resources.h"

namespace tavrel::host {

// The language among `available` for a user who prefers `preferred` (most
// wanted first). Of several with the same primary language the one of the
// default sublanguage wins (German of Germany for German of Austria).
platform::LanguageId ChooseLanguage(std::span<const platform::LanguageId> preferred,
                                    std::span<const platform::LanguageId> available);

// The language of the module's texts and dialog for this user: among the
// languages the module has its settings dialog in.
platform::LanguageId UiLanguage();

// Text `id` of the module's string table (resources/resource.h) in the
// user's language, or in English when that fails.
std::u16string_view Text(int id) noexcept;

}  // namespace tavrel::host
