// Every text the converter prints or writes into the INF file it makes,
// in one place. Like the installer's texts (run/infinst_messages.h) they are
// UTF-8 here and code page 932 in the program, and macros so that the
// compiler checks each format against its arguments.

#ifndef INFCONV_MESSAGES_H
#define INFCONV_MESSAGES_H

// clang-format off

// Start of a run and the files.
#define CONV_MSG_BANNER "NT 4.0形式ドライバINF変換ツール (infinst用)\n\n"
#define CONV_MSG_USAGE "使用法: %s <INFファイル> [<出力INFファイル>]\n"
#define CONV_MSG_PATH_TOO_LONG "パスが長すぎます: %s\n"
#define CONV_MSG_OUTPUT_NOT_INF "出力ファイルの名前は .inf で終わる必要があります: %s\n"
#define CONV_MSG_OPEN_FAILED "INFファイルを開けませんでした: %s\n"
#define CONV_MSG_INPUT_MISSING "INFファイルが見つかりません: %s\n"
#define CONV_MSG_INPUT_IS_FOLDER "フォルダが指定されました。変換するINFファイルを指定してください: %s\n"
#define CONV_MSG_READ_FAILED "INFファイルの読み込み中にエラーが発生したため変換できません: %s\n"
#define CONV_MSG_INPUT_TOO_LARGE "INFファイルが大きすぎるため変換できません（%luバイトまで）。\n"
#define CONV_MSG_UTF16_NOT_ASCII_1 "このINFファイルはUnicode(UTF-16)形式で、ASCII以外の文字を含むため変換できません。\n"
#define CONV_MSG_UTF16_NOT_ASCII_2 "INFファイルをShift-JIS形式で保存し直してから実行してください。\n"
#define CONV_MSG_INPUT "変換元: %s\n"
#define CONV_MSG_INSTALL_SECTION "インストールセクション: [%s]\n\n"

// Files that cannot be converted.
#define CONV_MSG_NO_INSTALL_SECTION_1 "このINFファイルには[DefaultInstall.NTx86]、[DefaultInstall.NT]、[DefaultInstall]のいずれもないため変換できません。\n"
#define CONV_MSG_NO_INSTALL_SECTION_2 "プラグアンドプレイ対応ハードウェア用のINFファイルは変換できません。\n"
#define CONV_MSG_SETUP_SCRIPT "このINFファイルはWindows NTのセットアップ用スクリプト（[Identification]、OptionType）です。変換せずに、NT 3.xのセットアップ（コントロールパネルなど）からインストールしてください。\n"
#define CONV_MSG_TEMPLATE "このINFファイルは[%s]のように$ARCH$が置き換えられていないひな形で、そのまま配布されるファイルではありません。ビルド後に作られるINFファイルを指定してください。\n"
#define CONV_MSG_OTHER_MACHINE "このINFファイルのインストールセクションは[%s]のように別のプロセッサ用だけで、NT 3.x（x86）用ではありません。x86用のドライバを入手してください。\n"
#define CONV_MSG_ALREADY_CONVERTED "このINFファイルは既にinfinstの形式です。変換はせず、コピーするファイルを確かめます。\n"
#define CONV_MSG_NOTHING_CONVERTED "変換できる内容がなかったため、ファイルは作成しませんでした。\n"
#define CONV_MSG_NO_SIGNATURE "このファイルには[Version]セクションのSignature（$Windows NT$など）がなく、ドライバのINFファイルではないため変換できません。\n"
#define CONV_MSG_AUTORUN "このファイルはCD-ROMなどの自動実行の設定（autorun.inf、[AutoRun]）で、ドライバのINFファイルではないため変換できません。\n"
#define CONV_MSG_BUILD_FILE "このファイルはEDK2（UEFIファームウェア）のビルド用のINFファイル（[Defines]）で、Windowsのドライバ用ではないため変換できません。\n"
#define CONV_MSG_WINDOWS_31 "このファイルはWindows 3.1のセットアップ用INFファイル（[disks]）です。Windows 3.1用のドライバはNT 3.xでは使えないため変換できません。NT用のドライバを入手してください。\n"
#define CONV_MSG_WINDOWS_9X "このINFファイルはWindows 95/98/Me用（Signature=%s）で、Windows NT用のセクションがないため変換できません。NT用のドライバを入手してください。\n"
#define CONV_MSG_CLASS_FILTER "このINFファイルはデバイスクラスのフィルタ（%s）をインストールします。クラスフィルタはプラグアンドプレイでデバイスに取り付けられるもので、NT 3.xでは取り付けられないため変換できません。\n"

// What was carried over.
#define CONV_MSG_COPY_SECTION "○コピーセクション: [%s] → %s\n"
// Directory id 10; the others are named by their folder (inf/directory_ids.h).
#define CONV_MSG_WINDOWS_DIRECTORY "Windowsディレクトリ"
#define CONV_MSG_FILE "○ファイル: %s → %s\n"
#define CONV_MSG_SERVICE "○サービス: %s\n"
#define CONV_MSG_VALUE "○レジストリ値: %s\\%s = %s\n"
#define CONV_MSG_VALUE_NUMBER "○レジストリ値: %s\\%s = %lu\n"
#define CONV_MSG_BOOT_START "警告: サービス %s はシステムの起動中に開始されます（StartType=%lu）。ドライバに問題があるとシステムが起動しなくなることがあります。前回正常起動時の構成（Last Known Good）で起動できるようにしておいてください。\n"
#define CONV_MSG_ERROR_CONTROL "警告: サービス %s はシステムの起動中に開始され、ErrorControl=%luです。読み込みに失敗すると、NTは前回正常起動時の構成（Last Known Good）で再起動するか、停止します。\n"
#define CONV_MSG_FOREIGN_IMAGE "エラー: %s は%s用のプログラムです（マシン0x%04lX）。NT 3.x（x86）では読み込めません。\n"
#define CONV_MSG_NEW_SUBSYSTEM "警告: %s はWindows NT %lu.%lu以降用に作られています。NT 3.xでは読み込まれないことがあります。\n"

// The import check of an image: the image's name, then the names it
// shows, the first few of them and the count of the rest
// (CONV_NAMES_MORE). Said as the image is checked, none counted.
#define CONV_MSG_IMPORTS_MISSING "警告: %s はNT 3.51にない関数（%s）を使うため、NT 3.xでは読み込めません。\n"
#define CONV_MSG_IMPORTS_NT351 "警告: %s はNT 3.51以降の関数（%s）を使うため、NT 3.5では読み込めません。\n"
#define CONV_MSG_IMPORTS_SERVICE_PACK "警告: %s はNT 3.51 Service Pack %lu以降の関数（%s）を使うため、それより前では読み込めません。\n"
#define CONV_MSG_IMPORTS_UNLISTED "注意: %s が使う次のモジュールの関数は一覧がないため確かめていません: %s\n"
#define CONV_MSG_IMPORTS_ORDINAL "注意: %s が序数で使う次のモジュールの関数は確かめていません: %s\n"
#define CONV_MSG_IMPORTS_UNREADABLE "警告: %s のインポートテーブルが途中で切れているか、ファイルの外を指しているため、確かめられません。\n"
#define CONV_NAMES_SEPARATOR "、"
#define CONV_NAMES_MORE "、ほか%s件"

// A file already in infinst's form: each image its copy sections name,
// then whether infinst may install it.
#define CONV_MSG_IMAGE_LOADS "○%s: NT 3.51にない関数は使っていません\n"
#define CONV_MSG_FORM_LOADS "NT 3.xで読み込めないファイルはありません。infinstで直接インストールしてください。\n"
#define CONV_MSG_FORM_CANNOT_LOAD "NT 3.xで読み込めないファイルがあるため、infinstでインストールしないでください。\n"

// What was left out: the input's line number, the reason, the line. A
// "%s" in a reason is the file, folder, line or name it is about, which
// convReason (conv_report.h) puts in before the reason is noted.
#define CONV_MSG_LEFT_OUT "×%lu行目: %s: %s\n"
#define CONV_WHY_DIRECTIVE "この指定は変換できません"
#define CONV_WHY_NO_SECTION "指定されたセクションがありません"
#define CONV_WHY_NO_DESTINATION "コピー先が指定されていません"
#define CONV_WHY_DESTINATION_ID "コピー先のディレクトリは10、11、12のみ変換できます"
#define CONV_WHY_SUBFOLDER "コピー先のサブフォルダは変換できません"
#define CONV_WHY_RENAME "名前を変えるコピーは変換できません"
#define CONV_WHY_FILE_NAME "このファイル名は使えません"
#define CONV_WHY_SECTION_NAME "このセクション名は使えません"
#define CONV_WHY_SERVICE_NAME "このサービス名は使えません"
#define CONV_WHY_SERVICE_KEY "このサービスの設定は変換できません"
#define CONV_WHY_DEPENDENCIES "依存関係（Dependencies）は変換できません。ドライバが必要とするサービスが先に開始されないと、正しく動かないことがあります"
#define CONV_WHY_EVENT_LOG "イベントログの設定は変換できません"
#define CONV_WHY_SERVICE_TYPE "ServiceTypeが1、2、8、0x10、0x20（0x100付きを含む）以外のサービスは変換できません"
#define CONV_WHY_SERVICE_LEFT_OUT "サービス%sは%s行目のとおり変換しなかったため、そのキーには書き込みません"
#define CONV_WHY_NO_BINARY "ServiceBinaryもImagePathもないサービスは変換できません"
#define CONV_WHY_BINARY_NOT_COPIED "%s行目のファイル%sはどのコピーセクションでもコピーされないため、サービスを登録しません"
#define CONV_WHY_BINARY_ELSEWHERE "%s行目のファイル%sは%sではなく%sにコピーされるため、サービスを登録しません"
#define CONV_WHY_BINARY_DIR "ServiceBinaryやImagePathは%10%、%11%、%12%のフォルダにあるファイルのみ変換できます（%s行目: %s）"
#define CONV_WHY_DRIVER_ARGUMENTS "ドライバのImagePathには引数を付けられません（%s行目: %s）"
#define CONV_WHY_NO_START "StartTypeがないサービスは変換できません"
#define CONV_WHY_NO_ERROR_CONTROL "ErrorControlがないサービスは変換できません"
#define CONV_WHY_START_VALUE "StartTypeは0、1、2、3、4（Win32サービスは2、3、4）のみ変換できます（%s行目）"
#define CONV_WHY_ERROR_CONTROL_VALUE "ErrorControlは0、1、2、3のみ変換できます（%s行目）"
#define CONV_WHY_TYPE_CLASH "%s行目と%s行目でサービスの種類（ドライバかWin32サービスか）が異なるため、サービスを登録しません"
#define CONV_WHY_FILTER_MANAGER "フィルタマネージャ（FltMgr）を使うサービスは、NT 3.xにフィルタマネージャがないため変換できません（%s行目）"
#define CONV_WHY_IMAGE_CANNOT_LOAD "ファイル%sはNT 3.51にない関数（%s）を使うため、サービスを登録しません"
#define CONV_WHY_TYPE_HELD "サービスのTypeは%s行目の値に決まっているため、この行は変換しません"
#define CONV_WHY_IMAGE_HELD "サービスのImagePathは%s行目のものに決まっているため、この行は変換しません"
#define CONV_WHY_VALUE_TYPE "Type、Start、ErrorControlはREG_DWORD、ImagePathはREG_SZかREG_EXPAND_SZの値のみ変換できます"
#define CONV_WHY_REPEATED "同じ項目が%s行目にあり、最初の行が有効なため、この行は変換しません"
#define CONV_WHY_SERVICE_REPEATED "サービス%sは%s行目のAddServiceで指定済みのため、この行は変換しません"
#define CONV_WHY_OTHER_SERVICE "サービス%sのAddRegでは、そのサービスのキーの下にのみ書き込めます"
#define CONV_WHY_SERVICE_FLAG "AddServiceのフラグ%s（%s）は変換できません"
#define CONV_WHY_NUMBER "数値として読めません"
#define CONV_WHY_ROOT "HKLM\\System\\CurrentControlSet\\Services以外のキーには書き込めません"
#define CONV_WHY_HKR "HKRはサービスのAddReg以外では変換できません"
#define CONV_WHY_BINARY "REG_BINARYの値は変換できません"
#define CONV_WHY_MULTI_SZ "REG_MULTI_SZの値は変換できません"
#define CONV_WHY_DIRECTORY_ID "このディレクトリIDは変換できません（REG_EXPAND_SZの%10%、%11%、%12%のみ）"
#define CONV_WHY_FILE_MISSING "ファイルがありません"
#define CONV_WHY_FILE_UNREADABLE "ファイルを読み込めません"
#define CONV_WHY_SOURCE_FOLDER "ソースディスクのフォルダ名が使えません"
#define CONV_WHY_FLAGS "この値の種類またはフラグは変換できません"
#define CONV_WHY_NO_VALUE_NAME "値の名前とデータがない行は変換できません"
#define CONV_WHY_DEFAULT_VALUE "キーの既定値（名前のない値）は変換できません"
#define CONV_WHY_TEXT "この文字（\"や「AddReg]」）を含む名前や値は書けません"
#define CONV_WHY_TOO_LONG "長すぎます"
#define CONV_WHY_TOO_MANY "数が多すぎます"
#define CONV_WHY_OUTPUT_FULL "出力ファイルが大きすぎます"
#define CONV_MSG_LINE_TOO_LONG "×%lu行目: 行が長すぎるため読み込みませんでした。\n"
#define CONV_MSG_TOO_MANY_LINES "×%lu行目以降: 行やセクションが多すぎるため読み込みませんでした。\n"
#define CONV_MSG_NUL_BYTE "×%lu行目: NUL文字を含むため読み込みませんでした。\n"

// What the flags of an AddService line ask for, by bit from 0x1 up; the
// file written honours none of them.
#define CONV_FLAG_NAMES \
    "グループの中で最初に読み込む", \
    "デバイスの機能ドライバにする", \
    "イベントログの登録を削除する", \
    "既存のDisplayNameを変えない", \
    "既存のStartTypeを変えない", \
    "既存のErrorControlを変えない", \
    "既存のLoadOrderGroupを変えない", \
    "既存のDependenciesを変えない", \
    "既存のDescriptionを変えない", \
    "サービスを停止する", \
    "セキュリティ設定を書き換える", \
    "インストール後にサービスを開始する", \
    "既存の必要な特権を変えない"
#define CONV_FLAG_UNKNOWN "NT 3.xにはない指定"

// What NT 3.x does not need: listed once, not counted.
#define CONV_MSG_NOT_NEEDED "\nNT 3.xでは不要なため、次の項目は変換しませんでした（件数に含めません）:\n"
#define CONV_MSG_NOT_NEEDED_LINE "  %lu行目: %s\n"
#define CONV_MSG_NOT_NEEDED_MORE "  ほか%d件\n"

// Where the driver's files go.
#define CONV_MSG_FOLDER_EXISTS "出力フォルダが既にあります。別の出力INFファイルを指定してください: %s\n"
#define CONV_MSG_FILE_DIFFERS "出力先に内容の違うファイルがあります。上書きはしません: %s\n"
#define CONV_MSG_FILE_NAME_CLASH "同じ名前で内容の違うファイルがあるため、1つのフォルダにまとめられません: %s\n"
#define CONV_MSG_FOLDER_FAILED "フォルダを作成できませんでした: %s\n"
#define CONV_MSG_COPY_FAILED "ファイルをコピーできませんでした: %s\n"
#define CONV_MSG_FILE_COPIED "○コピー: %s → %s\n"
#define CONV_MSG_NOT_TAKEN_BACK "コピーしたものを削除できませんでした: %s\n"
#define CONV_MSG_STOPPED "変換を中止しました。ファイルは作成しませんでした。\n"

// The end of a run.
#define CONV_MSG_ALL_CONVERTED "\nすべての項目を変換しました。\n"
#define CONV_MSG_LEFT_OUT_COUNT "\n注意: %d件の項目を変換できませんでした。上の×の行を確認してください。\n"
#define CONV_MSG_OUTPUT_EXISTS "出力ファイルが既にあります。上書きはしません: %s\n"
#define CONV_MSG_OUTPUT_FAILED "出力ファイルを作成できませんでした: %s\n"
#define CONV_MSG_WRITTEN "\n%s を作成しました。\n次のコマンドでドライバをインストールしてください:\n"
#define CONV_MSG_COMMAND "  infinst %s\n"
#define CONV_MSG_COMMAND_QUOTED "  infinst \"%s\"\n"

// The head of the INF file written: a comment naming the file converted.
#define CONV_OUT_HEAD_COMMENT "; infconvが次のファイルから変換しました: "

// clang-format on

#endif
