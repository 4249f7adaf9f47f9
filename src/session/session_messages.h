// Every text of a run over an INF file that the installer and the
// uninstaller share: the command line, the refusals of the checks and the
// key wait at the end. The sources are UTF-8 and are compiled with
// -fexec-charset=CP932, so each literal reaches the console as the code
// page 932 bytes its users read. The texts are macros so that the compiler checks every format
// against its arguments (common/say.h).

#ifndef INFINST_SESSION_MESSAGES_H
#define INFINST_SESSION_MESSAGES_H

// clang-format off

// The INF file named on the command line or found in the current folder.
#define SESSION_MSG_USAGE "使用法: %s <infファイルパス>\n"
#define SESSION_MSG_INF_PATH_TOO_LONG "INFファイルのパスが長すぎます。"
#define SESSION_MSG_NOT_INF "INFファイルではありません。"
#define SESSION_MSG_INF_FILE "INFファイル: %s\n\n"
#define SESSION_MSG_OPEN_FAILED "INFファイルを開けませんでした。"

// The checks of passes 1 and 2, each ending the run.
#define SESSION_MSG_UTF16_INF "このINFファイルはUnicode(UTF-16)形式のため処理を中止します。\n"
#define SESSION_MSG_UTF8_INF "このINFファイルはUTF-8形式のため処理を中止します。\n"
#define SESSION_MSG_SAVE_AS_SHIFT_JIS "INFファイルをShift-JIS形式で保存し直してください。\n"
#define SESSION_MSG_NOT_LEGACY_DRIVER_1 "このINFファイルはLegacyDriverではないため処理を中止します。\n"
#define SESSION_MSG_NOT_LEGACY_DRIVER_2 "INF内でClass=LegacyDriverを指定する必要があります。\n"
#define SESSION_MSG_NO_DESTINATION_DIRS_1 "このINFファイルはDestinationDirsがないため処理を中止します。\n"
#define SESSION_MSG_NO_DESTINATION_DIRS_2 "INF内でDestinationDirsを指定する必要があります。\n"
#define SESSION_MSG_NO_DEFAULT_DEST_DIR_1 "このINFファイルはDestinationDirsにDefaultDestDirがないため処理を中止します。\n"
#define SESSION_MSG_NO_DEFAULT_DEST_DIR_2 "INF内でDefaultDestDirを指定する必要があります。\n"
#define SESSION_MSG_TOO_COMPLEX_1 "このINFファイルは複雑な内容のため、安全のため処理を中止します。\n"
#define SESSION_MSG_TOO_COMPLEX_2 "AddRegのセクションは1つだけ含める必要があります。\n"
#define SESSION_MSG_NO_COPY_SECTION "このINFファイルにCopyセクションが見つからなかったため処理を中止します。\n"

// A read of the file that failed, in any pass.
#define SESSION_MSG_READ_FAILED "INFファイルの読み込みに失敗しました。\n"

// The last words of every run.
#define SESSION_MSG_PRESS_ANY_KEY "\n終了するには何かキーを押してください\n"
// clang-format on

#endif
