#pragma once
// The texts the user sees during an update run. The update rules are
// portable and tested natively, so their texts live here rather than in the
// program's string table.

namespace viewer {

inline constexpr char kUpdateAlreadyRunning[] = "既に実行中です";
inline constexpr char kUpdateConnectFailed[] = "アップデートのための接続に失敗しました.";
inline constexpr char kUpdateNone[] = "最新のアップデートはありません.";
inline constexpr char kUpdateQuestion[] = "新しいアップデートがあります.\r\nアップデートしますか？";
inline constexpr char kUpdateDownloadFailed[] = "アップデートのダウンロードに失敗しました.";

}  // namespace viewer
