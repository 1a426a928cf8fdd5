<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>FixedTexts</name>
    <message>
        <source>'%1' は整数ではありません</source>
        <translation>'%1' is not a valid integer value</translation>
    </message>
    <message>
        <source>'%1' は正しい時刻ではありません</source>
        <translation>'%1' is not a valid time</translation>
    </message>
    <message>
        <source>範囲チェックエラー</source>
        <translation>Range check error</translation>
    </message>
    <message>
        <source>リストのインデックスが範囲を超えています (%1)</source>
        <translation>List index out of bounds (%1)</translation>
    </message>
    <message>
        <source>%1 リソースが見つかりません</source>
        <translation>Resource %1 not found</translation>
    </message>
    <message>
        <source>ビットマップイメージが不正です</source>
        <translation>Bitmap image is not valid</translation>
    </message>
    <message>
        <source>JPEG エラー #%1</source>
        <translation>JPEG error #%1</translation>
    </message>
    <message>
        <source>Please Drop on a Form</source>
        <translation>Please Drop on a Form</translation>
    </message>
    <message>
        <source>The playlist is full: it holds at most %1 entries</source>
        <translation>The playlist is full: it holds at most %1 entries</translation>
    </message>
    <message>
        <source>The playlist holds at most %1 entries: %2 were left out</source>
        <translation>The playlist holds at most %1 entries: %2 were left out</translation>
    </message>
    <message>
        <source>The playlist holds at most %1 entries: 1 was left out</source>
        <translation>The playlist holds at most %1 entries: 1 was left out</translation>
    </message>
    <message>
        <source>The playlist's entries are kept in at most %1 bytes: %2 were left out</source>
        <translation>The playlist's entries are kept in at most %1 bytes: %2 were left out</translation>
    </message>
    <message>
        <source>The playlist's entries are kept in at most %1 bytes: 1 was left out</source>
        <translation>The playlist's entries are kept in at most %1 bytes: 1 was left out</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>Cannot open %1: %2</translation>
    </message>
    <message>
        <source>Nothing to open</source>
        <translation>Nothing to open</translation>
    </message>
    <message>
        <source>The location is empty: there is no clip to open</source>
        <translation>The location is empty: there is no clip to open</translation>
    </message>
    <message>
        <source>no such file</source>
        <translation>no such file</translation>
    </message>
    <message>
        <source>not a media file</source>
        <translation>not a media file</translation>
    </message>
    <message>
        <source>not readable</source>
        <translation>not readable</translation>
    </message>
    <message>
        <source>not a file on this computer</source>
        <translation>not a file on this computer</translation>
    </message>
    <message>
        <source>invalid name</source>
        <translation>invalid name</translation>
    </message>
    <message>
        <source>%1 locations are not supported</source>
        <translation>%1 locations are not supported</translation>
    </message>
    <message>
        <source>The media engine refused %1: %2</source>
        <translation>The media engine refused %1: %2</translation>
    </message>
    <message>
        <source>Cannot start the media engine</source>
        <translation>Cannot start the media engine</translation>
    </message>
    <message>
        <source>Cannot start the media engine: option %1: %2</source>
        <translation>Cannot start the media engine: option %1: %2</translation>
    </message>
    <message>
        <source>Cannot play %1: %2</source>
        <translation>Cannot play %1: %2</translation>
    </message>
    <message>
        <source>the picture could not be set up</source>
        <translation>the picture could not be set up</translation>
    </message>
    <message>
        <source>no answer within %1 s</source>
        <translation>no answer within %1 s</translation>
    </message>
    <message>
        <source>it ended before anything in it played</source>
        <translation>it ended before anything in it played</translation>
    </message>
    <message>
        <source>the server does not let the player move within the file, which this clip needs (its index is at its end)</source>
        <translation>the server does not let the player move within the file, which this clip needs (its index is at its end)</translation>
    </message>
    <message>
        <source>Cannot seek</source>
        <translation>Cannot seek</translation>
    </message>
    <message>
        <source>Cannot stop</source>
        <translation>Cannot stop</translation>
    </message>
    <message>
        <source>Volume must be 0..100</source>
        <translation>Volume must be 0..100</translation>
    </message>
    <message>
        <source>Cannot show the picture: %1</source>
        <translation>Cannot show the picture: %1</translation>
    </message>
    <message>
        <source>Cannot watch for termination signals</source>
        <translation>Cannot watch for termination signals</translation>
    </message>
    <message>
        <source>Cannot receive clips from later starts of Korvel at %1: %2</source>
        <translation>Cannot receive clips from later starts of Korvel at %1: %2</translation>
    </message>
    <message>
        <source>Cannot receive clips from later starts of Korvel: %1 is not Korvel's socket but something else that stands in its place; Korvel leaves it as it is</source>
        <translation>Cannot receive clips from later starts of Korvel: %1 is not Korvel's socket but something else that stands in its place; Korvel leaves it as it is</translation>
    </message>
    <message>
        <source>Cannot read the playlist %1: %2</source>
        <translation>Cannot read the playlist %1: %2</translation>
    </message>
    <message>
        <source>Cannot write the playlist %1: %2</source>
        <translation>Cannot write the playlist %1: %2</translation>
    </message>
    <message>
        <source>it is not a list in the %1 format</source>
        <translation>it is not a list in the %1 format</translation>
    </message>
    <message>
        <source>it uses the entity &amp;%2; from outside the list, which is not read (line %1)</source>
        <translation>it uses the entity &amp;%2; from outside the list, which is not read (line %1)</translation>
    </message>
    <message>
        <source>it is larger than %1 bytes</source>
        <translation>it is larger than %1 bytes</translation>
    </message>
    <message>
        <source>The playlist %1 says it holds %2 entries but holds %3: those were added</source>
        <translation>The playlist %1 says it holds %2 entries but holds %3: those were added</translation>
    </message>
    <message>
        <source>%1 was not written to the playlist %2: a list line cannot hold it</source>
        <translation>%1 was not written to the playlist %2: a list line cannot hold it</translation>
    </message>
    <message>
        <source>The playlist %1 names %2, a list it is itself part of: that entry was left out</source>
        <translation>The playlist %1 names %2, a list it is itself part of: that entry was left out</translation>
    </message>
    <message>
        <source>The playlist %1 stands more than %2 lists deep: it was left out</source>
        <translation>The playlist %1 stands more than %2 lists deep: it was left out</translation>
    </message>
    <message>
        <source>The playlist %1 takes in at most %2 lists inside it: the rest were left out</source>
        <translation>The playlist %1 takes in at most %2 lists inside it: the rest were left out</translation>
    </message>
    <message>
        <source>Cannot read the settings from %1: %2</source>
        <translation>Cannot read the settings from %1: %2</translation>
    </message>
    <message>
        <source>Cannot save the settings to %1: %2</source>
        <translation>Cannot save the settings to %1: %2</translation>
    </message>
    <message>
        <source>the file is larger than %1 bytes</source>
        <translation>the file is larger than %1 bytes</translation>
    </message>
    <message>
        <source>the file would be larger than %1 bytes, more than Korvel reads back</source>
        <translation>the file would be larger than %1 bytes, more than Korvel reads back</translation>
    </message>
    <message>
        <source>Some lines of the settings file %1 were not understood (the first is line %2); Korvel keeps them as they stand</source>
        <translation>Some lines of the settings file %1 were not understood (the first is line %2); Korvel keeps them as they stand</translation>
    </message>
    <message>
        <source>The settings file %1 holds %2 entries, more than the list's %3: the list shows the first %3, and Korvel keeps the others in the file after them</source>
        <translation>The settings file %1 holds %2 entries, more than the list's %3: the list shows the first %3, and Korvel keeps the others in the file after them</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>it is not a regular file</translation>
    </message>
    <message>
        <source>Cannot find a folder for the settings: HOME is not set</source>
        <translation>Cannot find a folder for the settings: HOME is not set</translation>
    </message>
    <message>
        <source>Operation not permitted</source>
        <translation>Operation not permitted</translation>
    </message>
    <message>
        <source>No such file or directory</source>
        <translation>No such file or directory</translation>
    </message>
    <message>
        <source>Input/output error</source>
        <translation>Input/output error</translation>
    </message>
    <message>
        <source>Cannot allocate memory</source>
        <translation>Cannot allocate memory</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Permission denied</translation>
    </message>
    <message>
        <source>Device or resource busy</source>
        <translation>Device or resource busy</translation>
    </message>
    <message>
        <source>File exists</source>
        <translation>File exists</translation>
    </message>
    <message>
        <source>Not a directory</source>
        <translation>Not a directory</translation>
    </message>
    <message>
        <source>Is a directory</source>
        <translation>Is a directory</translation>
    </message>
    <message>
        <source>Invalid argument</source>
        <translation>Invalid argument</translation>
    </message>
    <message>
        <source>Too many open files</source>
        <translation>Too many open files</translation>
    </message>
    <message>
        <source>File too large</source>
        <translation>File too large</translation>
    </message>
    <message>
        <source>No space left on device</source>
        <translation>No space left on device</translation>
    </message>
    <message>
        <source>Read-only file system</source>
        <translation>Read-only file system</translation>
    </message>
    <message>
        <source>File name too long</source>
        <translation>File name too long</translation>
    </message>
    <message>
        <source>Too many levels of symbolic links</source>
        <translation>Too many levels of symbolic links</translation>
    </message>
    <message>
        <source>Disk quota exceeded</source>
        <translation>Disk quota exceeded</translation>
    </message>
    <message>
        <source>Address already in use</source>
        <translation>Address already in use</translation>
    </message>
    <message>
        <source>Connection refused</source>
        <translation>Connection refused</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>it could not be loaded</source>
        <translation>it could not be loaded</translation>
    </message>
    <message>
        <source>its format is not known to the media engine</source>
        <translation>its format is not known to the media engine</translation>
    </message>
    <message>
        <source>it holds no sound or picture that could be played</source>
        <translation>it holds no sound or picture that could be played</translation>
    </message>
    <message>
        <source>the sound output could not be started</source>
        <translation>the sound output could not be started</translation>
    </message>
    <message>
        <source>the picture output could not be started</source>
        <translation>the picture output could not be started</translation>
    </message>
    <message>
        <source>the media engine does not support it</source>
        <translation>the media engine does not support it</translation>
    </message>
    <message>
        <source>the media engine ran out of memory</source>
        <translation>the media engine ran out of memory</translation>
    </message>
    <message>
        <source>the media engine does not accept this setting</source>
        <translation>the media engine does not accept this setting</translation>
    </message>
    <message>
        <source>the media engine failed (error %1)</source>
        <translation>the media engine failed (error %1)</translation>
    </message>
    <message>
        <source>.</source>
        <translation>.</translation>
    </message>
    <message>
        <source>Elapsed %1</source>
        <translation>Elapsed %1</translation>
    </message>
    <message>
        <source>Length %1</source>
        <translation>Length %1</translation>
    </message>
    <message>
        <source>it is not well-formed XML (line %1, column %2)</source>
        <translation>it is not well-formed XML (line %1, column %2)</translation>
    </message>
    <message>
        <source>it is not well-formed XML: it ends at line %1 before it is complete</source>
        <translation>it is not well-formed XML: it ends at line %1 before it is complete</translation>
    </message>
    <message>
        <source>the system gave no reason</source>
        <translation>the system gave no reason</translation>
    </message>
    <message>
        <source>no sound output could be opened (%1); playing without sound</source>
        <translation>no sound output could be opened (%1); playing without sound</translation>
    </message>
    <message>
        <source>none of the system's</source>
        <translation>none of the system's</translation>
    </message>
    <message>
        <source>tried %1</source>
        <translation>tried %1</translation>
    </message>
    <message>
        <source>KORVEL_PICTURE is '%1', not gl or sw; the picture path is chosen automatically</source>
        <translation>KORVEL_PICTURE is '%1', not gl or sw; the picture path is chosen automatically</translation>
    </message>
    <message>
        <source>no desktop media controls: %1</source>
        <translation>no desktop media controls: %1</translation>
    </message>
    <message>
        <source>no session bus</source>
        <translation>no session bus</translation>
    </message>
    <message>
        <source>no session bus (%1)</source>
        <translation>no session bus (%1)</translation>
    </message>
    <message>
        <source>%1 is taken on the session bus</source>
        <translation>%1 is taken on the session bus</translation>
    </message>
    <message>
        <source>%1 belongs to another program</source>
        <translation>%1 belongs to another program</translation>
    </message>
    <message>
        <source>no OpenGL picture: no OpenGL context for the drawing thread</source>
        <translation>no OpenGL picture: no OpenGL context for the drawing thread</translation>
    </message>
    <message>
        <source>no OpenGL picture: %1</source>
        <translation>no OpenGL picture: %1</translation>
    </message>
    <message>
        <source>the X server's connection is gone: the player ends</source>
        <translation>the X server's connection is gone: the player ends</translation>
    </message>
    <message>
        <source>no clip is open</source>
        <translation>no clip is open</translation>
    </message>
    <message>
        <source>the clip has no track %1</source>
        <translation>the clip has no track %1</translation>
    </message>
    <message>
        <source>Open files…</source>
        <translation>Open files…</translation>
    </message>
    <message>
        <source>Open location…</source>
        <translation>Open location…</translation>
    </message>
    <message>
        <source>Audio track</source>
        <translation>Audio track</translation>
    </message>
    <message>
        <source>Subtitles</source>
        <translation>Subtitles</translation>
    </message>
    <message>
        <source>Skin</source>
        <translation>Skin</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>Load subtitles…</source>
        <translation>Load subtitles…</translation>
    </message>
    <message>
        <source>No tracks</source>
        <translation>No tracks</translation>
    </message>
    <message>
        <source>Track %1</source>
        <translation>Track %1</translation>
    </message>
    <message>
        <source>Keep on top (TOP)</source>
        <translation>Keep on top (TOP)</translation>
    </message>
    <message>
        <source>Keep the size (FIX)</source>
        <translation>Keep the size (FIX)</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Mute</translation>
    </message>
    <message>
        <source>Playlist</source>
        <translation>Playlist</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>Full screen</translation>
    </message>
    <message>
        <source>About Korvel</source>
        <translation>About Korvel</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Korvel %1: a compact skinned media player.
Licence: GNU General Public License, version 3 or later (GPL-3.0-or-later).</source>
        <translation>Korvel %1: a compact skinned media player.
Licence: GNU General Public License, version 3 or later (GPL-3.0-or-later).</translation>
    </message>
    <message>
        <source>A file or URL to play:</source>
        <translation>A file or URL to play:</translation>
    </message>
    <message>
        <source>Media and lists (%1)</source>
        <translation>Media and lists (%1)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>Subtitles (%1)</source>
        <translation>Subtitles (%1)</translation>
    </message>
    <message>
        <source>Cannot use the skin file %1: %2</source>
        <translation>Cannot use the skin file %1: %2</translation>
    </message>
    <message>
        <source>the name reaches outside the skin's folder</source>
        <translation>the name reaches outside the skin's folder</translation>
    </message>
    <message>
        <source>its mask leaves nothing of the window</source>
        <translation>its mask leaves nothing of the window</translation>
    </message>
    <message>
        <source>There is no skin named %1: the skin in use stays</source>
        <translation>There is no skin named %1: the skin in use stays</translation>
    </message>
    <message>
        <source>The skin %1 is not found any more: the built-in skin is used</source>
        <translation>The skin %1 is not found any more: the built-in skin is used</translation>
    </message>
    <message>
        <source>Built-in</source>
        <translation>Built-in</translation>
    </message>
    <message>
        <source>%1 is there already: nothing was written</source>
        <translation>%1 is there already: nothing was written</translation>
    </message>
    <message>
        <source>Cannot write the skin file %1: %2</source>
        <translation>Cannot write the skin file %1: %2</translation>
    </message>
    <message>
        <source>Wrote the built-in skins into %1</source>
        <translation>Wrote the built-in skins into %1</translation>
    </message>
</context>
<context>
    <name>PlayList</name>
    <message>
        <source>RAM files (*.ram)</source>
        <translation>RAM files (*.ram)</translation>
    </message>
    <message>
        <source>M3U8 lists (*.m3u8)</source>
        <translation>M3U8 lists (*.m3u8)</translation>
    </message>
    <message>
        <source>File Group</source>
        <translation>File Group</translation>
    </message>
    <message>
        <source>File Location</source>
        <translation>File Location</translation>
    </message>
    <message>
        <source>Play Count</source>
        <translation>Play Count</translation>
    </message>
    <message>
        <source>Playlist</source>
        <translation>Playlist</translation>
    </message>
</context>
<context>
    <name>SkinHints</name>
    <message>
        <source>再生(Ctrl+P)</source>
        <translation>Play (Ctrl+P)</translation>
    </message>
    <message>
        <source>一時停止(Ctrl+A)</source>
        <translation>Pause (Ctrl+A)</translation>
    </message>
    <message>
        <source>停止(Ctrl+S)</source>
        <translation>Stop (Ctrl+S)</translation>
    </message>
    <message>
        <source>次のクリップへ(PageDown)</source>
        <translation>Next clip (PageDown)</translation>
    </message>
    <message>
        <source>前のクリップへ(PageUp)</source>
        <translation>Previous clip (PageUp)</translation>
    </message>
    <message>
        <source>プレイリスト(Ctrl+L)</source>
        <translation>Playlist (Ctrl+L)</translation>
    </message>
    <message>
        <source>最小化</source>
        <translation>Minimize</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>隠す</source>
        <translation>Hide</translation>
    </message>
    <message>
        <source>終了時点指定</source>
        <translation>Set the end point</translation>
    </message>
    <message>
        <source>開始時点指定</source>
        <translation>Set the start point</translation>
    </message>
    <message>
        <source>常に前面</source>
        <translation>Always on top</translation>
    </message>
    <message>
        <source>元のサイズ</source>
        <translation>Original size</translation>
    </message>
    <message>
        <source>フルスクリーン</source>
        <translation>Full screen</translation>
    </message>
    <message>
        <source>画面固定</source>
        <translation>Keep the window size</translation>
    </message>
    <message>
        <source>ミュート(F11)</source>
        <translation>Mute (F11)</translation>
    </message>
    <message>
        <source>早送り(RightArrow)</source>
        <translation>Fast forward (RightArrow)</translation>
    </message>
    <message>
        <source>巻き戻し(LeftArrow)</source>
        <translation>Rewind (LeftArrow)</translation>
    </message>
    <message>
        <source>１分巻き戻し</source>
        <translation>Back one minute</translation>
    </message>
    <message>
        <source>１分先送り</source>
        <translation>Ahead one minute</translation>
    </message>
    <message>
        <source>ボリューム</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>画面サイズ</source>
        <translation>Picture size</translation>
    </message>
    <message>
        <source>再生位置</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>UP</source>
        <translation>UP</translation>
    </message>
    <message>
        <source>DOWN</source>
        <translation>DOWN</translation>
    </message>
    <message>
        <source>CLEAR</source>
        <translation>CLEAR</translation>
    </message>
    <message>
        <source>CUT</source>
        <translation>CUT</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>CANCEL</translation>
    </message>
    <message>
        <source>COPY</source>
        <translation>COPY</translation>
    </message>
    <message>
        <source>PASTE</source>
        <translation>PASTE</translation>
    </message>
    <message>
        <source>HISTORY</source>
        <translation>HISTORY</translation>
    </message>
    <message>
        <source>RAM</source>
        <translation>RAM</translation>
    </message>
    <message>
        <source>ADD</source>
        <translation>ADD</translation>
    </message>
    <message>
        <source>SHUFFLE</source>
        <translation>SHUFFLE</translation>
    </message>
    <message>
        <source>LOOP</source>
        <translation>LOOP</translation>
    </message>
    <message>
        <source>PLAY</source>
        <translation>Play this entry</translation>
    </message>
</context>
</TS>
