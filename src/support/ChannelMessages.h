#pragma once

#include <QLatin1StringView>

// The messages between Vantrel and its companion client (vantrelctl): the identifiers each side
// passes, and the keys of an item summary ({"uuid":…,"date":…,"app":…,"desc":…,"marked":…}).
// Both programs speak from this one list.
namespace ChannelMessages {
// Passed by the application.
inline constexpr QLatin1StringView launched{"app.launched"};
inline constexpr QLatin1StringView terminating{"app.terminate"};
inline constexpr QLatin1StringView recentItems{"response.update.recent"};
inline constexpr QLatin1StringView markedItems{"response.update.marked"};
inline constexpr QLatin1StringView inserted{"insert"};
inline constexpr QLatin1StringView deleted{"delete"};
inline constexpr QLatin1StringView marked{"mark"};
// The answer to a "copy" carrying a reply token: "response.copy.<token>", one identifier per
// request so that companions asking at the same time each read their own answer.
inline constexpr QLatin1StringView copyAnswerPrefix{"response.copy."};
// The answer to a "request.search": "response.search.<token>", a list of summaries, newest first.
inline constexpr QLatin1StringView searchAnswerPrefix{"response.search."};

// Passed by the companion.
inline constexpr QLatin1StringView isLaunched{"app.isLaunched"};
inline constexpr QLatin1StringView requestRecent{"request.update.recent"};
inline constexpr QLatin1StringView requestMarked{"request.update.marked"};
inline constexpr QLatin1StringView copy{"copy"};
// {"text":…,"limit":…,"kind":…,"reply":…}: the items whose text holds `text` (every item when
// it is empty), of one kind when `kind` is one of SearchKinds, at most `limit` of them.
inline constexpr QLatin1StringView requestSearch{"request.search"};

// The members of an item summary.
namespace SummaryKeys {
inline constexpr QLatin1StringView uuid{"uuid"};
inline constexpr QLatin1StringView date{"date"};
inline constexpr QLatin1StringView app{"app"};
inline constexpr QLatin1StringView desc{"desc"};
inline constexpr QLatin1StringView marked{"marked"};
// Not part of a summary: the token a "copy" request wants its answer under. A request without
// one (an older companion) gets no answer.
inline constexpr QLatin1StringView reply{"reply"};
} // namespace SummaryKeys

// The members of a copy answer: {"uuid":…,"copied":true} or {"uuid":…,"copied":false,
// "error":…} with one of the errors below.
namespace CopyAnswerKeys {
inline constexpr QLatin1StringView uuid{"uuid"};
inline constexpr QLatin1StringView copied{"copied"};
inline constexpr QLatin1StringView error{"error"};
} // namespace CopyAnswerKeys

// The members of a search request.
namespace SearchKeys {
inline constexpr QLatin1StringView text{"text"};
inline constexpr QLatin1StringView limit{"limit"};
inline constexpr QLatin1StringView kind{"kind"};
inline constexpr QLatin1StringView reply{"reply"};
} // namespace SearchKeys

// The kinds a search may be narrowed to; "marked" is every marked item, whatever its kind.
namespace SearchKinds {
inline constexpr QLatin1StringView text{"text"};
inline constexpr QLatin1StringView image{"image"};
inline constexpr QLatin1StringView url{"url"};
inline constexpr QLatin1StringView file{"file"};
inline constexpr QLatin1StringView marked{"marked"};
} // namespace SearchKinds

namespace CopyErrors {
inline constexpr QLatin1StringView noSuchItem{"no such item"};
inline constexpr QLatin1StringView unreadable{"none of the item's contents can be read"};
} // namespace CopyErrors
} // namespace ChannelMessages
