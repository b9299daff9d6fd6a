// system/texts.h - ovSystem's own texts, as the Shift-JIS bytes the engine
// shows. Written with tools/sjis_literal.py; the readable text is beside each.
#pragma once

namespace ovSystem::texts {

inline constexpr char kWaitOutOfRange[] = "\x83" "E\x83" "F\x83" "C\x83gNo\x82\xAA\x94\xCD\x88\xCD\x8AO\x82\xC5\x82\xB7";  // ウェイトNoが範囲外です
inline constexpr char kErrorCaption[] = "\x83G\x83\x89\x81[\x94\xAD\x90\xB6";  // エラー発生
inline constexpr char kMessageCaption[] = "\x83\x81\x83" "b\x83Z\x81[\x83W";  // メッセージ
inline constexpr char kContextSeparator[] = " : ";  //  : 
inline constexpr char kSunday[] = "\x93\xFA";  // 日
inline constexpr char kMonday[] = "\x8C\x8E";  // 月
inline constexpr char kTuesday[] = "\x89\xCE";  // 火
inline constexpr char kWednesday[] = "\x90\x85";  // 水
inline constexpr char kThursday[] = "\x96\xD8";  // 木
inline constexpr char kFriday[] = "\x8B\xE0";  // 金
inline constexpr char kSaturday[] = "\x93y";  // 土

}  // namespace ovSystem::texts
