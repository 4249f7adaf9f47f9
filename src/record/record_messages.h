// The texts the installation record holds for the person who reads it:
// comment lines, which no program reads back. The sources are UTF-8 and
// are compiled with -fexec-charset=CP932, so the record is code page 932
// text, CR LF at each line's end.

#ifndef INFINST_RECORD_MESSAGES_H
#define INFINST_RECORD_MESSAGES_H

// clang-format off

#define RECORD_MSG_HEAD \
    "; infinstのインストールの記録です。infundoはこの記録をもとにインストールを元に戻します。\r\n" \
    "; 読むことはできますが、編集しないでください。\r\n"

// clang-format on

#endif
