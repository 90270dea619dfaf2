<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- The player's texts in English. Each source is the Japanese text of the
     row in src/model/ui_texts.cpp whose name is the comment; Qt Linguist
     edits this file. The Linux program holds it compiled (lrelease), the
     Windows program as its English string table. -->
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
<context>
    <name>Kestrafon</name>
    <message>
        <source>ファイルを選択して下さい。</source>
        <comment>OpenTitle</comment>
        <translation>Select files</translation>
    </message>
    <message>
        <source>KFLﾌｧｲﾙ (*.kfl)</source>
        <comment>OpenKflFilter</comment>
        <translation>KFL files (*.kfl)</translation>
    </message>
    <message>
        <source>すべての音楽ファイル</source>
        <comment>AllMusicFilter</comment>
        <translation>All music files</translation>
    </message>
    <message>
        <source>すべてのプレイリスト</source>
        <comment>AllPlaylistsFilter</comment>
        <translation>All playlists</translation>
    </message>
    <message>
        <source>名前を付けてファイルの保存</source>
        <comment>SaveTitle</comment>
        <translation>Save As</translation>
    </message>
    <message>
        <source>KFLファイル(*.kfl)</source>
        <comment>SaveKflFilter</comment>
        <translation>KFL file (*.kfl)</translation>
    </message>
    <message>
        <source>M3U8ファイル(*.m3u8)</source>
        <comment>SaveM3u8Filter</comment>
        <translation>M3U8 file (*.m3u8)</translation>
    </message>
    <message>
        <source>開けなかったファイル</source>
        <comment>SkippedTitle</comment>
        <translation>Files not opened</translation>
    </message>
    <message>
        <source>次のファイルは開けなかったため、飛ばしました。
</source>
        <comment>SkippedIntro</comment>
        <translation>These files could not be opened and were skipped.
</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <comment>SkippedEntry</comment>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>見つかりません</source>
        <comment>SkippedMissing</comment>
        <translation>not found</translation>
    </message>
    <message>
        <source>ファイルではありません</source>
        <comment>SkippedNotAFile</comment>
        <translation>not a file</translation>
    </message>
    <message>
        <source>読み込めません</source>
        <comment>SkippedUnreadable</comment>
        <translation>cannot be read</translation>
    </message>
    <message>
        <source>再生できません</source>
        <comment>CannotPlayTitle</comment>
        <translation>Cannot play</translation>
    </message>
    <message>
        <source>音声を出力できる装置がないため、次の曲を再生できません。
</source>
        <comment>NoOutputText</comment>
        <translation>There is no device to play sound on, so this track cannot play:
</translation>
    </message>
    <message>
        <source>音声の出力先が使えなくなったため、次の曲の再生を止めました。
</source>
        <comment>OutputLostText</comment>
        <translation>The sound output is no longer there, so this track was stopped:
</translation>
    </message>
    <message>
        <source>追加しなかった項目</source>
        <comment>UrlsSkippedTitle</comment>
        <translation>Entries not added</translation>
    </message>
    <message>
        <source>プレイリストにあったURL（%1件）は、このコンピューターのファイルではないため、飛ばしました。</source>
        <comment>UrlsSkippedText</comment>
        <translation>The playlist named %1 URLs. They are not files on this computer, so they were skipped.</translation>
    </message>
    <message>
        <source>保存できませんでした</source>
        <comment>SaveFailureTitle</comment>
        <translation>Could not save</translation>
    </message>
    <message>
        <source>プレイリストを次のファイルに保存できませんでした。
%1

理由: %2</source>
        <comment>SaveFailureText</comment>
        <translation>The playlist could not be saved to this file:
%1

Reason: %2</translation>
    </message>
    <message>
        <source>ディスクの空き容量が足りません。</source>
        <comment>DiskFull</comment>
        <translation>The disk is full.</translation>
    </message>
    <message>
        <source>ディスクの使用量の上限に達しています。</source>
        <comment>QuotaReached</comment>
        <translation>Your disk quota is used up.</translation>
    </message>
    <message>
        <source>この場所に書き込む権限がありません。</source>
        <comment>NoPermission</comment>
        <translation>You may not write in this place.</translation>
    </message>
    <message>
        <source>ほかのプログラムがこのファイルを使っています。</source>
        <comment>FileInUse</comment>
        <translation>Another program is using this file.</translation>
    </message>
    <message>
        <source>ファイルの名前かフォルダーの階層が長すぎます。</source>
        <comment>NameTooLong</comment>
        <translation>The file name or the folder path is too long.</translation>
    </message>
    <message>
        <source>読み取り専用の場所には保存できません。</source>
        <comment>ReadOnlyPlace</comment>
        <translation>This place is read-only.</translation>
    </message>
    <message>
        <source>保存先のフォルダーが見つかりません。</source>
        <comment>FolderMissing</comment>
        <translation>The folder to save in cannot be found.</translation>
    </message>
    <message>
        <source>同じ名前のフォルダーがあります。</source>
        <comment>FolderInTheWay</comment>
        <translation>There is a folder of the same name.</translation>
    </message>
    <message>
        <source>同じ名前の、ファイルではないものがあります。</source>
        <comment>OtherInTheWay</comment>
        <translation>There is something of the same name that is not a file.</translation>
    </message>
    <message>
        <source>使い方: %1 [オプション]... [ファイル]...
音楽ファイルを再生します。ファイル（曲か、.kfl・.m3u・.m3u8・.pls のプレイリスト）を
順にリストへ追加し、最初に追加した曲を再生します。プレーヤーがもう動いて
いるときは、そのプレーヤーにファイルを渡します。

      --enqueue           ファイルをリストに追加するだけで、再生しません
      --replaygain=MODE   ファイルの ReplayGain タグで音量をそろえます:
                          off、track、album のどれか（既定: 設定ファイルの
                          値、なければ track）
  -h, --help              この説明を表示して終わります
      --version           バージョンを表示して終わります
</source>
        <comment>Usage</comment>
        <translation>Usage: %1 [OPTION]... [FILE]...
Plays music files. Each FILE (a track, or a .kfl, .m3u, .m3u8 or .pls playlist)
is added to the list in order and the first track added starts playing. When
the player is already running, the files go to it.

      --enqueue           add the files to the list without playing them
      --replaygain=MODE   even out loudness by the files' ReplayGain tags:
                          off, track or album (default: the settings file's,
                          else track)
  -h, --help              show this help and exit
      --version           show the version and exit
</translation>
    </message>
    <message>
        <source>%1 というオプションはありません。</source>
        <comment>UnknownOption</comment>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <source>%1: %2 行目は設定として読めないため、使いません: %3</source>
        <comment>SettingsBadLine</comment>
        <translation>%1: line %2 is not a setting and is left out: %3</translation>
    </message>
    <message>
        <source>%1: 設定として読めないため、既定の設定を使います。</source>
        <comment>SettingsUnreadable</comment>
        <translation>%1: cannot be read as settings; the defaults are used</translation>
    </message>
</context>
</TS>
