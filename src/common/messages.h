// Every text the installer prints, in one place. The sources are UTF-8 and
// are compiled with -fexec-charset=CP932, so each literal reaches the
// console as the code page 932 bytes its users read. The texts are macros
// so that the compiler checks every format against its arguments.

#ifndef INFINST_MESSAGES_H
#define INFINST_MESSAGES_H

// clang-format off

// Start of a run.
#define MSG_BANNER "Window NT3.x用 ドライバINFインストーラ\n\n"
#define MSG_OS_REFUSED_1 "本プログラムはWindows NT3.x向けのドライバINFインストーラです。\n"
#define MSG_OS_REFUSED_2 "Windows NT4.0以降はINFファイル右クリック→インストールを使用して下さい。\n"
#define MSG_USAGE "使用法: %s <infファイルパス>\n"
#define MSG_INF_PATH_TOO_LONG "INFファイルのパスが長すぎます。"
#define MSG_NOT_INF "INFファイルではありません。"
#define MSG_INF_FILE "INFファイル: %s\n\n"
#define MSG_NOTICES                                                                              \
    "本プログラムはWindows NT 3.x向けのドライバINFインストーラです。\n"                         \
    "●WinNT4以降はINFファイル右クリック→インストールを使用して下さい。\n"                       \
    "●対応形式ではないドライバINFファイルは指定しないで下さい。\n"                               \
    "●既存のファイルやレジストリキーがある場合は上書きされます。\n"                             \
    "●本プログラムは無保証です。思い付く限りの安全策をとっていますが、想定外の環境やINFファイルで" \
    "レジストリに変な値が書き込まれてシステムが起動しなくなっても作者は責任を負いません。\n\n"  \
    "上記に同意する場合は1を入力してEnterを押して下さい。\n"                                     \
    "同意できない場合はそのままEnterを押して中断して下さい。\n"
#define MSG_OPEN_FAILED "INFファイルを開けませんでした。"

// Passes over the INF file and the checks between them.
#define MSG_UTF16_INF_1 "このINFファイルはUnicode(UTF-16)形式のため処理を中止します。\n"
#define MSG_UTF16_INF_2 "INFファイルをShift-JIS形式で保存し直してください。\n"
#define MSG_LONG_LINE_SKIPPED "%lu行目は長すぎるため無視しました。\n"
#define MSG_DESTINATION_DIRS_FOUND "DestinationDirs Found: %s\n"
#define MSG_NOT_LEGACY_DRIVER_1 "このINFファイルはLegacyDriverではないため処理を中止します。\n"
#define MSG_NOT_LEGACY_DRIVER_2 "INF内でClass=LegacyDriverを指定する必要があります。\n"
#define MSG_NO_DESTINATION_DIRS_1 "このINFファイルはDestinationDirsがないため処理を中止します。\n"
#define MSG_NO_DESTINATION_DIRS_2 "INF内でDestinationDirsを指定する必要があります。\n"
#define MSG_NO_DEFAULT_DEST_DIR_1 "このINFファイルはDestinationDirsにDefaultDestDirがないため処理を中止します。\n"
#define MSG_NO_DEFAULT_DEST_DIR_2 "INF内でDefaultDestDirを指定する必要があります。\n"
#define MSG_ADDREG_FOUND "AddReg Found: %s\n"
#define MSG_COPY_FOUND "Copy Found: %s\n"
#define MSG_TOO_COMPLEX_1 "このINFファイルは複雑な内容のため、安全のため処理を中止します。\n"
#define MSG_TOO_COMPLEX_2 "AddRegのセクションは1つだけ含める必要があります。\n"
#define MSG_NO_COPY_SECTION "このINFファイルにCopyセクションが見つからなかったため処理を中止します。\n"
#define MSG_UNSUPPORTED_DESTINATION "セクション %s の送り先ディレクトリは非対応です\n"
#define MSG_ADDSERVICE_UNSUPPORTED "AddService行には対応していません: %s\n"
#define MSG_HEADER_UNREADABLE "セクションの見出しを読み取れないため無視しました: %s\n"
#define MSG_HEADER_CASE_MISMATCH "セクション名の大文字と小文字が一致しないため無視しました: %s\n"
#define MSG_READ_FAILED "INFファイルの読み込みに失敗しました。\n"
#define MSG_NOT_INSTALLED "\n注意: %d件のファイルまたはレジストリ値がインストールされていません。上のメッセージを確認してください。\n"
#define MSG_FINISHED "\n処理が終了しました。変更を反映するにはシステムを再起動してください。\n"
#define MSG_PRESS_ANY_KEY "\n終了するには何かキーを押してください\n"

// The [DestinationDirs] table.
#define MSG_DESTINATION_ENTRY "%s = %d\n"
#define MSG_DESTINATION_LINE_TOO_LONG "DestinationDirsの行が長すぎるため無視しました。\n"
#define MSG_DESTINATION_LINE_UNREADABLE "DestinationDirsの行を読み取れないため無視しました: %s\n"
#define MSG_TOO_MANY_DESTINATIONS "DestinationDirs内の定義が多すぎます。"

// The overwrite question.
#define MSG_CONFIRM_OVERWRITE "既存のファイルやレジストリキーを上書きしますか？(Y/N) "
#define MSG_CONFIRM_ANSWER "%c\n"

// Copy sections.
#define MSG_COPYING "○コピー: %s -> %s\n"
#define MSG_FILE_EXISTS "ファイルが既にあります: %s\n"
#define MSG_FILE_NOT_COPIED "このファイルのコピーは行いません。\n"
#define MSG_COPY_FAILED "ファイルコピーに失敗しました: %s\n"
#define MSG_BAD_FILE_NAME "ファイル名が不正です: %s\n"
#define MSG_PATH_TOO_LONG "パスが長すぎます: %s\n"

// The AddReg section.
#define MSG_INVALID_KEY "キーが無効です: %s\n"
#define MSG_REG_VALUE "○対象値: %s\\%s = %s\n"
#define MSG_KEY_EXISTS "キーが既に存在します。本プログラムを使用する場合は一旦キーを削除して下さい。\n"
#define MSG_TOO_MANY_KEYS "作成するレジストリキーが多すぎます。"
#define MSG_KEY_CREATE_FAILED "レジストリキー作成失敗: %s\n"
#define MSG_UNSUPPORTED_TYPE "未サポートのレジストリ型: 0x%08lX\n"
#define MSG_VALUE_WRITE_FAILED "レジストリ値の書き込みに失敗しました: %s\\%s\n"
#define MSG_ADDREG_LINE_TOO_LONG "AddRegの行が長すぎるため無視しました。\n"
#define MSG_ADDREG_LINE_UNREADABLE "AddRegの行を読み取れないため無視しました: %s\n"

// Any table or list whose heap copy could not be made.
#define MSG_OUT_OF_MEMORY "メモリが不足しています。\n"

// clang-format on

// Prints one of the texts above to standard output. INF text reaches it
// only as an argument, never as the format.
void say(const char *format, ...) __attribute__((format(printf, 1, 2)));

#endif
