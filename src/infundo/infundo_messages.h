// Every text of the uninstaller's own, in one place. What it prints while
// it reads the INF file it shares with the installer, because it reads the
// file the same way: the INF path, the refusals of the checks and the key
// wait (session/session_messages.h), the reports of the passes and the
// lines the installation pass refuses (inf/inf_messages.h). The sources
// are UTF-8 and are compiled with -fexec-charset=CP932.

#ifndef INFUNDO_MESSAGES_H
#define INFUNDO_MESSAGES_H

// clang-format off

// Start of a run.
#define UNDO_MSG_BANNER "Windows NT3.x用 ドライバINFアンインストーラ\n\n"
#define UNDO_MSG_OS_REFUSED_1 "本プログラムはWindows NT3.x向けのドライバINFアンインストーラです。\n"
#define UNDO_MSG_OS_REFUSED_2 "Windows NT4.0以降では使用できません。\n"

// The plan: what will go, what stays and why.
#define UNDO_MSG_PLAN "\n削除の計画:\n"
#define UNDO_MSG_PLAN_FILE "○削除するファイル: %s\n"
#define UNDO_MSG_PLAN_VALUE "○削除する値: %s\\%s\n"
#define UNDO_MSG_PLAN_KEY "○削除するキー: %s\n"
#define UNDO_MSG_KEEP_FILE "●残すファイル: %s\n"
#define UNDO_MSG_KEEP_VALUE "●残す値: %s\\%s\n"
#define UNDO_MSG_KEEP_KEY "●残すキー: %s\n"
#define UNDO_MSG_REASON_CHANGED "  理由: インストールされた内容から変更されています。\n"
#define UNDO_MSG_REASON_NO_SOURCE "  理由: 比較する元のファイルがありません: %s\n"
#define UNDO_MSG_REASON_UNREADABLE "  理由: 読み取れません。\n"
#define UNDO_MSG_REASON_IS_SOURCE "  理由: INFファイルの隣にある元のファイルそのものです。\n"
#define UNDO_MSG_REASON_TOO_MANY "  理由: 一度に扱える数を超えています。\n"
#define UNDO_MSG_REASON_VALUE "  理由: 値 %s があります。\n"
#define UNDO_MSG_REASON_SUBKEY "  理由: サブキー %s があります。\n"
#define UNDO_MSG_NOTHING_TO_REMOVE "\n削除するものは見つかりませんでした。\n"

// The one agreement.
#define UNDO_MSG_CONSENT                                                         \
    "\n●本プログラムは無保証です。削除したものは元に戻せません。\n"              \
    "上記を削除する場合は1を入力してEnterを押して下さい。\n"                     \
    "削除しない場合はそのままEnterを押して中断して下さい。\n"

// The removal.
#define UNDO_MSG_FILE_DELETED "ファイルを削除しました: %s\n"
#define UNDO_MSG_FILE_AT_RESTART "使用中のため、次の再起動時に削除されます: %s\n"
#define UNDO_MSG_FILE_NOT_DELETED "ファイルを削除できませんでした: %s\n"
#define UNDO_MSG_VALUE_DELETED "値を削除しました: %s\\%s\n"
#define UNDO_MSG_VALUE_NOT_DELETED "値を削除できませんでした: %s\\%s\n"
#define UNDO_MSG_KEY_DELETED "キーを削除しました: %s\n"
#define UNDO_MSG_KEY_NOT_DELETED "キーを削除できませんでした: %s\n"

// End of a run.
#define UNDO_MSG_KEPT "\n注意: %d件のファイルまたはレジストリ項目を削除せずに残しました。上のメッセージを確認してください。\n"
#define UNDO_MSG_FINISHED "\n削除が終了しました。変更を反映するにはシステムを再起動してください。\n"

// clang-format on

#endif
