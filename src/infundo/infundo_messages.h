// Every text of the uninstaller's own, in one place: on the console, and
// the comments it writes into the installation record. What it shares with
// the installer (the INF path, the key wait) is in
// session/session_messages.h. The sources are UTF-8 and are compiled with
// -fexec-charset=CP932.

#ifndef INFUNDO_MESSAGES_H
#define INFUNDO_MESSAGES_H

// clang-format off

// Start of a run.
#define UNDO_MSG_BANNER "Windows NT3.x用 ドライバINFアンインストーラ\n\n"
#define UNDO_MSG_OS_REFUSED_1 "本プログラムはWindows NT3.x向けのドライバINFアンインストーラです。\n"
#define UNDO_MSG_OS_REFUSED_2 "Windows NT4.0以降では使用できません。\n"

// The installation record taken back.
#define UNDO_MSG_RECORD "インストールの記録: %s\n"
#define UNDO_MSG_NO_RECORD_1 "このINFファイルをインストールした記録が見つからないため、何も削除しません。\n"
#define UNDO_MSG_NO_RECORD_2 "記録はINFファイルの内容から探します。このinfinstでインストールしていないか、INFファイルを変更したか、記録が削除されています。\n"
#define UNDO_MSG_RECORD_UNREADABLE "インストールの記録を読み取れないため、何も削除しません。\n"
#define UNDO_MSG_TOO_MANY_ITEMS "インストールの記録の項目が多すぎるため、一部を扱えません。記録はそのまま残します。\n"
#define UNDO_MSG_OTHER_RECORD_SKIPPED "別のインストールの記録を読み取れないため無視しました: %s\n"

// The plan: what will go, what stays and why.
#define UNDO_MSG_PLAN "\n削除の計画:\n"
#define UNDO_MSG_PLAN_FILE "○削除するファイル: %s\n"
#define UNDO_MSG_PLAN_VALUE "○削除する値: %s\\%s\n"
#define UNDO_MSG_PLAN_KEY "○削除するキー: %s\n"
#define UNDO_MSG_PLAN_RESTORE_FILE "○元に戻すファイル: %s\n"
#define UNDO_MSG_PLAN_RESTORE_VALUE "○元に戻す値: %s\\%s\n"
#define UNDO_MSG_KEEP_FILE "●残すファイル: %s\n"
#define UNDO_MSG_KEEP_VALUE "●残す値: %s\\%s\n"
#define UNDO_MSG_KEEP_KEY "●残すキー: %s\n"
#define UNDO_MSG_REASON_CHANGED "  理由: インストールされた内容から変更されています。\n"
#define UNDO_MSG_REASON_UNREADABLE "  理由: 読み取れません。\n"
#define UNDO_MSG_REASON_OTHER_INF "  理由: 別のINFファイル（%s）のインストールの記録にもあります。\n"
#define UNDO_MSG_REASON_NO_COPY "  理由: 保存しておいた元のファイルを読み取れません。\n"
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
#define UNDO_MSG_FILE_RESTORED "ファイルを元に戻しました: %s\n"
#define UNDO_MSG_FILE_NOT_RESTORED "ファイルを元に戻せませんでした: %s\n"
#define UNDO_MSG_VALUE_RESTORED "値を元に戻しました: %s\\%s\n"
#define UNDO_MSG_VALUE_NOT_RESTORED "値を元に戻せませんでした: %s\\%s\n"

// The records afterwards.
#define UNDO_MSG_RECORD_DELETED "インストールの記録を削除しました: %s\n"
#define UNDO_MSG_RECORD_KEPT "残したものをインストールの記録に書き込みました: %s\n"
#define UNDO_MSG_RECORD_NOT_UPDATED "インストールの記録を更新できませんでした: %s\n"

// What the record says of a thing left on the machine, in a comment.
#define UNDO_REC_KEPT_FILE "; 残したファイル: "
#define UNDO_REC_KEPT_VALUE "; 残した値: "
#define UNDO_REC_KEPT_KEY "; 残したキー: "
#define UNDO_REC_WHY_CHANGED "（インストールされた内容から変更されています）"
#define UNDO_REC_WHY_UNREADABLE "（読み取れません）"
#define UNDO_REC_WHY_OTHER_INF "（別のINFファイルのインストールの記録にもあります）"
#define UNDO_REC_WHY_NO_COPY "（保存しておいた元のファイルを読み取れません）"
#define UNDO_REC_WHY_NOT_EMPTY "（ほかの値やサブキーがあります）"
#define UNDO_REC_WHY_LATER "（まだ元に戻していません）"

// End of a run.
#define UNDO_MSG_KEPT "\n注意: %d件のファイルまたはレジストリ項目を削除せずに残しました。上のメッセージを確認してください。\n"
#define UNDO_MSG_FINISHED "\n削除が終了しました。変更を反映するにはシステムを再起動してください。\n"

// clang-format on

#endif
