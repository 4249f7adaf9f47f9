// Every text of the installer's own: its banner and notices, the
// overwrite question, the copies, the registry values and the end of a
// run. The sources are UTF-8 and are compiled with -fexec-charset=CP932,
// so each literal reaches the console as the code page 932 bytes its users
// read. The texts are macros so that the compiler checks every format
// against its arguments (common/say.h).

#ifndef INFINST_MESSAGES_H
#define INFINST_MESSAGES_H

// clang-format off

// Start of a run.
#define INST_MSG_BANNER "Window NT3.x用 ドライバINFインストーラ\n\n"
#define INST_MSG_OS_REFUSED_1 "本プログラムはWindows NT3.x向けのドライバINFインストーラです。\n"
#define INST_MSG_OS_REFUSED_2 "Windows NT4.0以降はINFファイル右クリック→インストールを使用して下さい。\n"
#define INST_MSG_NOTICES                                                                              \
    "本プログラムはWindows NT 3.x向けのドライバINFインストーラです。\n"                         \
    "●WinNT4以降はINFファイル右クリック→インストールを使用して下さい。\n"                       \
    "●対応形式ではないドライバINFファイルは指定しないで下さい。\n"                               \
    "●既存のファイルやレジストリキーがある場合は上書きされます。\n"                             \
    "●本プログラムは無保証です。思い付く限りの安全策をとっていますが、想定外の環境やINFファイルで" \
    "レジストリに変な値が書き込まれてシステムが起動しなくなっても作者は責任を負いません。\n\n"  \
    "上記に同意する場合は1を入力してEnterを押して下さい。\n"                                     \
    "同意できない場合はそのままEnterを押して中断して下さい。\n"

// The overwrite question.
#define INST_MSG_CONFIRM_OVERWRITE "既存のファイルやレジストリキーを上書きしますか？(Y/N) "
#define INST_MSG_CONFIRM_ANSWER "%c\n"

// Copy sections.
#define INST_MSG_COPYING "○コピー: %s -> %s\n"
#define INST_MSG_FILE_EXISTS "ファイルが既にあります: %s\n"
#define INST_MSG_FILE_NOT_COPIED "このファイルのコピーは行いません。\n"
#define INST_MSG_COPY_FAILED "ファイルコピーに失敗しました: %s\n"
#define INST_MSG_SAME_FILE "同じファイルが既にあります: %s\n"
#define INST_MSG_OLD_FILE_UNREADABLE "置き換えるファイルを読み取れないため、コピーを行いません: %s\n"

// The AddReg section.
#define INST_MSG_REG_VALUE "○対象値: %s\\%s = %s\n"
#define INST_MSG_KEY_EXISTS "キーが既に存在します。本プログラムを使用する場合は一旦キーを削除して下さい。\n"
#define INST_MSG_TOO_MANY_KEYS "作成するレジストリキーが多すぎます。"
#define INST_MSG_KEY_CREATE_FAILED "レジストリキー作成失敗: %s\n"
#define INST_MSG_UNSUPPORTED_TYPE "未サポートのレジストリ型: 0x%08lX\n"
#define INST_MSG_VALUE_WRITE_FAILED "レジストリ値の書き込みに失敗しました: %s\\%s\n"
#define INST_MSG_OUT_OF_MEMORY "メモリが不足しています。\n"
#define INST_MSG_OLD_VALUE_UNREADABLE "置き換える値を読み取れないため、書き込みません: %s\\%s\n"
#define INST_MSG_OLD_VALUE_TOO_LARGE "置き換える値が大きすぎて記録できないため、書き込みません: %s\\%s\n"

// A driver whose ImagePath the kernel cannot load, after the AddReg
// section. The second text is printed as it stands, never as a format.
#define INST_MSG_IMAGE_PATH_WARNING "警告: %s のImagePathはカーネルが読み込めない形式です: %s\n"
#define INST_MSG_IMAGE_PATH_ADVICE "カーネルは%SystemRoot%などを展開しません。System32\\Drivers\\ファイル名の形で指定してください。\n"

// The installation record.
#define INST_MSG_RECORD "\nインストールの記録: %s\n"
#define INST_MSG_RECORD_FAILED_1 "\nインストールの記録に書き込めないため処理を中止します: %s\n"
#define INST_MSG_RECORD_FAILED_2 "ここまでに行った変更はこの記録にあります。\n"
#define INST_MSG_RECORD_UNAVAILABLE "\nインストールの記録を作れないため処理を中止します。何も変更していません。\n"

// End of a run.
#define INST_MSG_NOT_INSTALLED "\n注意: %d件のファイルまたはレジストリ値がインストールされていません。上のメッセージを確認してください。\n"
#define INST_MSG_FINISHED "\n処理が終了しました。変更を反映するにはシステムを再起動してください。\n"
// clang-format on

#endif
