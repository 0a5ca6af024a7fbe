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

// Passed by the companion.
inline constexpr QLatin1StringView isLaunched{"app.isLaunched"};
inline constexpr QLatin1StringView requestRecent{"request.update.recent"};
inline constexpr QLatin1StringView requestMarked{"request.update.marked"};
inline constexpr QLatin1StringView copy{"copy"};

// The members of an item summary.
namespace SummaryKeys {
inline constexpr QLatin1StringView uuid{"uuid"};
inline constexpr QLatin1StringView date{"date"};
inline constexpr QLatin1StringView app{"app"};
inline constexpr QLatin1StringView desc{"desc"};
inline constexpr QLatin1StringView marked{"marked"};
} // namespace SummaryKeys
} // namespace ChannelMessages
