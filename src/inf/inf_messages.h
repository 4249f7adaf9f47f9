// Every text the INF reader prints: what reading a file finds, the
// census lines of the passes and the lines it cannot hand on, shared by
// the installer and the uninstaller, which read a file the same way. The
// sources are UTF-8 and are compiled with -fexec-charset=CP932, so each
// literal reaches the console as the code page 932 bytes its users read. The texts are macros so
// that the compiler checks every format against its arguments (common/say.h).

#ifndef INFINST_INF_MESSAGES_H
#define INFINST_INF_MESSAGES_H

// clang-format off

// Pass 1: lines skipped (over-long, or with a CR that ends no line or a
// NUL) and the [DestinationDirs] table.
#define INF_MSG_LONG_LINE_SKIPPED "%lu行目は長すぎるため無視しました。\n"
#define INF_MSG_STRAY_BYTE_SKIPPED "%lu行目に改行以外のCRまたはNUL文字があるため無視しました。\n"
#define INF_MSG_DESTINATION_DIRS_FOUND "DestinationDirs Found: %s\n"
#define INF_MSG_DESTINATION_ENTRY "%s = %d\n"
#define INF_MSG_DESTINATION_LINE_TOO_LONG "DestinationDirsの行が長すぎるため無視しました。\n"
#define INF_MSG_DESTINATION_LINE_UNREADABLE "DestinationDirsの行を読み取れないため無視しました: %s\n"
#define INF_MSG_DESTINATION_NUMBER_UNREADABLE "DestinationDirsの番号を読み取れません: %s\n"
#define INF_MSG_TOO_MANY_DESTINATIONS "DestinationDirs内の定義が多すぎます。"

// Pass 2: the census of the sections.
#define INF_MSG_ADDREG_FOUND "AddReg Found: %s\n"
#define INF_MSG_COPY_FOUND "Copy Found: %s\n"

// Pass 3: what the installation pass cannot hand on.
#define INF_MSG_HEADER_UNREADABLE "セクションの見出しを読み取れないため無視しました: %s\n"
#define INF_MSG_HEADER_CASE_MISMATCH "セクション名の大文字と小文字が一致しないため無視しました: %s\n"
#define INF_MSG_UNSUPPORTED_DESTINATION "セクション %s の送り先ディレクトリは非対応です\n"
#define INF_MSG_ADDSERVICE_UNSUPPORTED "AddService行には対応していません: %s\n"
#define INF_MSG_BAD_FILE_NAME "ファイル名が不正です: %s\n"
#define INF_MSG_PATH_TOO_LONG "パスが長すぎます: %s\n"
#define INF_MSG_ADDREG_LINE_TOO_LONG "AddRegの行が長すぎるため無視しました。\n"
#define INF_MSG_ADDREG_LINE_UNREADABLE "AddRegの行を読み取れないため無視しました: %s\n"
#define INF_MSG_INVALID_KEY "キーが無効です: %s\n"

// A table entry whose heap copy could not be made.
#define INF_MSG_OUT_OF_MEMORY "メモリが不足しています。\n"
// clang-format on

#endif
