<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja">
<context>
    <name>FixedTexts</name>
    <message>
        <source>'%1' は整数ではありません</source>
        <translation>'%1' は整数ではありません</translation>
    </message>
    <message>
        <source>'%1' は正しい時刻ではありません</source>
        <translation>'%1' は正しい時刻ではありません</translation>
    </message>
    <message>
        <source>範囲チェックエラー</source>
        <translation>範囲チェックエラー</translation>
    </message>
    <message>
        <source>リストのインデックスが範囲を超えています (%1)</source>
        <translation>リストのインデックスが範囲を超えています (%1)</translation>
    </message>
    <message>
        <source>%1 リソースが見つかりません</source>
        <translation>%1 リソースが見つかりません</translation>
    </message>
    <message>
        <source>ビットマップイメージが不正です</source>
        <translation>ビットマップイメージが不正です</translation>
    </message>
    <message>
        <source>JPEG エラー #%1</source>
        <translation>JPEG エラー #%1</translation>
    </message>
    <message>
        <source>Please Drop on a Form</source>
        <translation>フォームの上にドロップしてください</translation>
    </message>
    <message>
        <source>The playlist is full: it holds at most %1 entries</source>
        <translation>プレイリストがいっぱいです: 最大 %1 件までです</translation>
    </message>
    <message>
        <source>The playlist holds at most %1 entries: %2 were left out</source>
        <translation>プレイリストは最大 %1 件までです: %2 件は加えませんでした</translation>
    </message>
    <message>
        <source>The playlist holds at most %1 entries: 1 was left out</source>
        <translation>プレイリストは最大 %1 件までです: 1 件は加えませんでした</translation>
    </message>
    <message>
        <source>The playlist's entries are kept in at most %1 bytes: %2 were left out</source>
        <translation>プレイリストの項目は最大 %1 バイトまでです: %2 件は加えませんでした</translation>
    </message>
    <message>
        <source>The playlist's entries are kept in at most %1 bytes: 1 was left out</source>
        <translation>プレイリストの項目は最大 %1 バイトまでです: 1 件は加えませんでした</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>%1 を開けません: %2</translation>
    </message>
    <message>
        <source>Nothing to open</source>
        <translation>開くものがありません</translation>
    </message>
    <message>
        <source>The location is empty: there is no clip to open</source>
        <translation>場所が空です。開くクリップがありません</translation>
    </message>
    <message>
        <source>no such file</source>
        <translation>そのようなファイルはありません</translation>
    </message>
    <message>
        <source>not a media file</source>
        <translation>メディアファイルではありません</translation>
    </message>
    <message>
        <source>not readable</source>
        <translation>読み込めません</translation>
    </message>
    <message>
        <source>not a file on this computer</source>
        <translation>このコンピューター上のファイルではありません</translation>
    </message>
    <message>
        <source>invalid name</source>
        <translation>名前が不正です</translation>
    </message>
    <message>
        <source>%1 locations are not supported</source>
        <translation>%1 の場所には対応していません</translation>
    </message>
    <message>
        <source>The media engine refused %1: %2</source>
        <translation>メディアエンジンが %1 を受け付けませんでした: %2</translation>
    </message>
    <message>
        <source>Cannot start the media engine</source>
        <translation>メディアエンジンを起動できません</translation>
    </message>
    <message>
        <source>Cannot start the media engine: option %1: %2</source>
        <translation>メディアエンジンを起動できません: オプション %1: %2</translation>
    </message>
    <message>
        <source>Cannot play %1: %2</source>
        <translation>%1 を再生できません: %2</translation>
    </message>
    <message>
        <source>the picture could not be set up</source>
        <translation>映像を準備できませんでした</translation>
    </message>
    <message>
        <source>no answer within %1 s</source>
        <translation>%1 秒以内に応答がありません</translation>
    </message>
    <message>
        <source>it ended before anything in it played</source>
        <translation>再生できる部分がないまま終わりました</translation>
    </message>
    <message>
        <source>the server does not let the player move within the file, which this clip needs (its index is at its end)</source>
        <translation>サーバーがファイル内の移動を認めていません。このクリップは索引が末尾にあるため、移動なしには読めません</translation>
    </message>
    <message>
        <source>Cannot seek</source>
        <translation>再生位置を移動できません</translation>
    </message>
    <message>
        <source>Cannot stop</source>
        <translation>停止できません</translation>
    </message>
    <message>
        <source>Volume must be 0..100</source>
        <translation>ボリュームは 0..100 で指定してください</translation>
    </message>
    <message>
        <source>Cannot show the picture: %1</source>
        <translation>映像を表示できません: %1</translation>
    </message>
    <message>
        <source>Cannot watch for termination signals</source>
        <translation>終了シグナルを監視できません</translation>
    </message>
    <message>
        <source>Cannot receive clips from later starts of Korvel at %1: %2</source>
        <translation>後から起動した Korvel のクリップを %1 で受け取れません: %2</translation>
    </message>
    <message>
        <source>Cannot receive clips from later starts of Korvel: %1 is not Korvel's socket but something else that stands in its place; Korvel leaves it as it is</source>
        <translation>後から起動した Korvel のクリップを受け取れません: %1 は Korvel のソケットではなく、その場所にある別のものです。Korvel はそれに手を付けません</translation>
    </message>
    <message>
        <source>Cannot read the playlist %1: %2</source>
        <translation>プレイリスト %1 を読み込めません: %2</translation>
    </message>
    <message>
        <source>Cannot write the playlist %1: %2</source>
        <translation>プレイリスト %1 を書き込めません: %2</translation>
    </message>
    <message>
        <source>it is not a list in the %1 format</source>
        <translation>%1 形式のリストではありません</translation>
    </message>
    <message>
        <source>it uses the entity &amp;%2; from outside the list, which is not read (line %1)</source>
        <translation>リストの外にあるエンティティ &amp;%2; を使っていますが、それは読み込みません (%1 行目)</translation>
    </message>
    <message>
        <source>it is larger than %1 bytes</source>
        <translation>%1 バイトより大きなファイルです</translation>
    </message>
    <message>
        <source>The playlist %1 says it holds %2 entries but holds %3: those were added</source>
        <translation>プレイリスト %1 は %2 件と記していますが、実際は %3 件です: その %3 件を加えました</translation>
    </message>
    <message>
        <source>%1 was not written to the playlist %2: a list line cannot hold it</source>
        <translation>%1 はプレイリスト %2 に書き込みませんでした: リストの 1 行に収まりません</translation>
    </message>
    <message>
        <source>The playlist %1 names %2, a list it is itself part of: that entry was left out</source>
        <translation>プレイリスト %1 が、自身を含むリスト %2 を指しています: その項目は加えませんでした</translation>
    </message>
    <message>
        <source>The playlist %1 stands more than %2 lists deep: it was left out</source>
        <translation>プレイリスト %1 はリストの中に %2 段を超えて入っています: 加えませんでした</translation>
    </message>
    <message>
        <source>The playlist %1 takes in at most %2 lists inside it: the rest were left out</source>
        <translation>プレイリスト %1 が取り込むリストは %2 件までです: 残りは加えませんでした</translation>
    </message>
    <message>
        <source>Cannot read the settings from %1: %2</source>
        <translation>%1 から設定を読み込めません: %2</translation>
    </message>
    <message>
        <source>Cannot save the settings to %1: %2</source>
        <translation>%1 に設定を保存できません: %2</translation>
    </message>
    <message>
        <source>the file is larger than %1 bytes</source>
        <translation>ファイルが %1 バイトより大きいです</translation>
    </message>
    <message>
        <source>the file would be larger than %1 bytes, more than Korvel reads back</source>
        <translation>ファイルが %1 バイトより大きくなり、Korvel が読み戻せません</translation>
    </message>
    <message>
        <source>Some lines of the settings file %1 were not understood (the first is line %2); Korvel keeps them as they stand</source>
        <translation>設定ファイル %1 に解釈できない行があります (最初は %2 行目); Korvel はそれらをそのまま残します</translation>
    </message>
    <message>
        <source>The settings file %1 holds %2 entries, more than the list's %3: the list shows the first %3, and Korvel keeps the others in the file after them</source>
        <translation>設定ファイル %1 には %2 件の項目があり、リストに入る %3 件を超えています: リストには最初の %3 件を入れ、残りはその後に続けてファイルに残します</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>通常のファイルではありません</translation>
    </message>
    <message>
        <source>Cannot find a folder for the settings: HOME is not set</source>
        <translation>設定を置くフォルダーが見つかりません: HOME が設定されていません</translation>
    </message>
    <message>
        <source>Operation not permitted</source>
        <translation>許可されていない操作です</translation>
    </message>
    <message>
        <source>No such file or directory</source>
        <translation>そのようなファイルやディレクトリはありません</translation>
    </message>
    <message>
        <source>Input/output error</source>
        <translation>入出力エラーです</translation>
    </message>
    <message>
        <source>Cannot allocate memory</source>
        <translation>メモリーを確保できません</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>アクセスが許可されていません</translation>
    </message>
    <message>
        <source>Device or resource busy</source>
        <translation>デバイスかリソースが使用中です</translation>
    </message>
    <message>
        <source>File exists</source>
        <translation>ファイルがすでにあります</translation>
    </message>
    <message>
        <source>Not a directory</source>
        <translation>ディレクトリではありません</translation>
    </message>
    <message>
        <source>Is a directory</source>
        <translation>ディレクトリです</translation>
    </message>
    <message>
        <source>Invalid argument</source>
        <translation>引数が正しくありません</translation>
    </message>
    <message>
        <source>Too many open files</source>
        <translation>開いているファイルが多すぎます</translation>
    </message>
    <message>
        <source>File too large</source>
        <translation>ファイルが大きすぎます</translation>
    </message>
    <message>
        <source>No space left on device</source>
        <translation>デバイスに空きがありません</translation>
    </message>
    <message>
        <source>Read-only file system</source>
        <translation>読み込み専用のファイルシステムです</translation>
    </message>
    <message>
        <source>File name too long</source>
        <translation>ファイル名が長すぎます</translation>
    </message>
    <message>
        <source>Too many levels of symbolic links</source>
        <translation>シンボリックリンクの階層が多すぎます</translation>
    </message>
    <message>
        <source>Disk quota exceeded</source>
        <translation>ディスクの割り当てを超えています</translation>
    </message>
    <message>
        <source>Address already in use</source>
        <translation>アドレスはすでに使われています</translation>
    </message>
    <message>
        <source>Connection refused</source>
        <translation>接続を拒否されました</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>システムのエラー %2</translation>
    </message>
    <message>
        <source>it could not be loaded</source>
        <translation>読み込めませんでした</translation>
    </message>
    <message>
        <source>its format is not known to the media engine</source>
        <translation>メディアエンジンの知らない形式です</translation>
    </message>
    <message>
        <source>it holds no sound or picture that could be played</source>
        <translation>再生できる音声も映像もありません</translation>
    </message>
    <message>
        <source>the sound output could not be started</source>
        <translation>音声出力を開始できませんでした</translation>
    </message>
    <message>
        <source>the picture output could not be started</source>
        <translation>映像出力を開始できませんでした</translation>
    </message>
    <message>
        <source>the media engine does not support it</source>
        <translation>メディアエンジンが対応していません</translation>
    </message>
    <message>
        <source>the media engine ran out of memory</source>
        <translation>メディアエンジンのメモリーが足りません</translation>
    </message>
    <message>
        <source>the media engine does not accept this setting</source>
        <translation>メディアエンジンがこの設定を受け付けません</translation>
    </message>
    <message>
        <source>the media engine failed (error %1)</source>
        <translation>メディアエンジンでエラーが起きました (エラー %1)</translation>
    </message>
    <message>
        <source>.</source>
        <translation>。</translation>
    </message>
    <message>
        <source>Elapsed %1</source>
        <translation>経過時間 %1</translation>
    </message>
    <message>
        <source>Length %1</source>
        <translation>長さ %1</translation>
    </message>
    <message>
        <source>it is not well-formed XML (line %1, column %2)</source>
        <translation>整形式の XML ではありません (%1 行目、%2 列目)</translation>
    </message>
    <message>
        <source>it is not well-formed XML: it ends at line %1 before it is complete</source>
        <translation>整形式の XML ではありません: 完結する前に %1 行目で終わっています</translation>
    </message>
    <message>
        <source>the system gave no reason</source>
        <translation>システムは理由を示しませんでした</translation>
    </message>
    <message>
        <source>no sound output could be opened (%1); playing without sound</source>
        <translation>サウンド出力を開けませんでした (%1)。音なしで再生します。</translation>
    </message>
    <message>
        <source>none of the system's</source>
        <translation>システムの出力はどれも開けません</translation>
    </message>
    <message>
        <source>tried %1</source>
        <translation>%1 を試しました</translation>
    </message>
    <message>
        <source>KORVEL_PICTURE is '%1', not gl or sw; the picture path is chosen automatically</source>
        <translation>KORVEL_PICTURE が '%1' で、gl でも sw でもありません。画像の描き方は自動で選びます。</translation>
    </message>
    <message>
        <source>no desktop media controls: %1</source>
        <translation>デスクトップのメディア操作は使えません: %1。</translation>
    </message>
    <message>
        <source>no session bus</source>
        <translation>セッションバスがありません</translation>
    </message>
    <message>
        <source>no session bus (%1)</source>
        <translation>セッションバスがありません (%1)</translation>
    </message>
    <message>
        <source>%1 is taken on the session bus</source>
        <translation>%1 はセッションバスでほかに使われています</translation>
    </message>
    <message>
        <source>%1 belongs to another program</source>
        <translation>%1 はほかのプログラムのものです</translation>
    </message>
    <message>
        <source>no OpenGL picture: no OpenGL context for the drawing thread</source>
        <translation>OpenGL の画像がありません: 描画スレッドの OpenGL コンテキストを作れません。</translation>
    </message>
    <message>
        <source>no OpenGL picture: %1</source>
        <translation>OpenGL の画像がありません: %1。</translation>
    </message>
    <message>
        <source>the X server's connection is gone: the player ends</source>
        <translation>X サーバーとの接続が切れました。プレーヤーを終了します。</translation>
    </message>
    <message>
        <source>no clip is open</source>
        <translation>クリップが開かれていません</translation>
    </message>
    <message>
        <source>the clip has no track %1</source>
        <translation>このクリップにトラック %1 はありません</translation>
    </message>
    <message>
        <source>Open files…</source>
        <translation>ファイルを開く…</translation>
    </message>
    <message>
        <source>Open location…</source>
        <translation>場所を開く…</translation>
    </message>
    <message>
        <source>Audio track</source>
        <translation>音声トラック</translation>
    </message>
    <message>
        <source>Subtitles</source>
        <translation>字幕</translation>
    </message>
    <message>
        <source>Skin</source>
        <translation>スキン</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>オフ</translation>
    </message>
    <message>
        <source>Load subtitles…</source>
        <translation>字幕ファイルを読み込む…</translation>
    </message>
    <message>
        <source>No tracks</source>
        <translation>トラックなし</translation>
    </message>
    <message>
        <source>Track %1</source>
        <translation>トラック %1</translation>
    </message>
    <message>
        <source>Keep on top (TOP)</source>
        <translation>最前面に表示 (TOP)</translation>
    </message>
    <message>
        <source>Keep the size (FIX)</source>
        <translation>サイズを固定 (FIX)</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>消音</translation>
    </message>
    <message>
        <source>Playlist</source>
        <translation>プレイリスト</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>全画面表示</translation>
    </message>
    <message>
        <source>About Korvel</source>
        <translation>Korvel について</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>Korvel %1: a compact skinned media player.
Licence: GNU General Public License, version 3 or later (GPL-3.0-or-later).</source>
        <translation>Korvel %1: スキン付きの小さなメディアプレーヤーです。
ライセンス: GNU 一般公衆利用許諾書 バージョン 3 以降 (GPL-3.0-or-later)。</translation>
    </message>
    <message>
        <source>A file or URL to play:</source>
        <translation>再生するファイルまたは URL:</translation>
    </message>
    <message>
        <source>Media and lists (%1)</source>
        <translation>メディアとリスト (%1)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>すべてのファイル (*)</translation>
    </message>
    <message>
        <source>Subtitles (%1)</source>
        <translation>字幕 (%1)</translation>
    </message>
    <message>
        <source>Cannot use the skin file %1: %2</source>
        <translation>スキンのファイル %1 を使えません: %2</translation>
    </message>
    <message>
        <source>the name reaches outside the skin's folder</source>
        <translation>その名前はスキンのフォルダーの外を指しています</translation>
    </message>
    <message>
        <source>its mask leaves nothing of the window</source>
        <translation>マスクがウィンドウを何も残しません</translation>
    </message>
    <message>
        <source>There is no skin named %1: the skin in use stays</source>
        <translation>%1 という名前のスキンはありません。今のスキンのままにします</translation>
    </message>
    <message>
        <source>The skin %1 is not found any more: the built-in skin is used</source>
        <translation>スキン %1 が見つからなくなったため、組み込みのスキンを使います</translation>
    </message>
    <message>
        <source>Built-in</source>
        <translation>組み込み</translation>
    </message>
    <message>
        <source>%1 is there already: nothing was written</source>
        <translation>%1 はすでにあります。何も書き込みませんでした</translation>
    </message>
    <message>
        <source>Cannot write the skin file %1: %2</source>
        <translation>スキンのファイル %1 を書き込めません: %2</translation>
    </message>
    <message>
        <source>Wrote the built-in skins into %1</source>
        <translation>組み込みのスキンを %1 に書き出しました</translation>
    </message>
</context>
<context>
    <name>PlayList</name>
    <message>
        <source>RAM files (*.ram)</source>
        <translation>RAM ファイル (*.ram)</translation>
    </message>
    <message>
        <source>M3U8 lists (*.m3u8)</source>
        <translation>M3U8 リスト (*.m3u8)</translation>
    </message>
    <message>
        <source>File Group</source>
        <translation>ファイルグループ</translation>
    </message>
    <message>
        <source>File Location</source>
        <translation>ファイルの場所</translation>
    </message>
    <message>
        <source>Play Count</source>
        <translation>再生回数</translation>
    </message>
    <message>
        <source>Playlist</source>
        <translation>プレイリスト</translation>
    </message>
</context>
<context>
    <name>SkinHints</name>
    <message>
        <source>再生(Ctrl+P)</source>
        <translation>再生(Ctrl+P)</translation>
    </message>
    <message>
        <source>一時停止(Ctrl+A)</source>
        <translation>一時停止(Ctrl+A)</translation>
    </message>
    <message>
        <source>停止(Ctrl+S)</source>
        <translation>停止(Ctrl+S)</translation>
    </message>
    <message>
        <source>次のクリップへ(PageDown)</source>
        <translation>次のクリップへ(PageDown)</translation>
    </message>
    <message>
        <source>前のクリップへ(PageUp)</source>
        <translation>前のクリップへ(PageUp)</translation>
    </message>
    <message>
        <source>プレイリスト(Ctrl+L)</source>
        <translation>プレイリスト(Ctrl+L)</translation>
    </message>
    <message>
        <source>最小化</source>
        <translation>最小化</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>隠す</source>
        <translation>隠す</translation>
    </message>
    <message>
        <source>終了時点指定</source>
        <translation>終了時点指定</translation>
    </message>
    <message>
        <source>開始時点指定</source>
        <translation>開始時点指定</translation>
    </message>
    <message>
        <source>常に前面</source>
        <translation>常に前面</translation>
    </message>
    <message>
        <source>元のサイズ</source>
        <translation>元のサイズ</translation>
    </message>
    <message>
        <source>フルスクリーン</source>
        <translation>フルスクリーン</translation>
    </message>
    <message>
        <source>画面固定</source>
        <translation>画面固定</translation>
    </message>
    <message>
        <source>ミュート(F11)</source>
        <translation>ミュート(F11)</translation>
    </message>
    <message>
        <source>早送り(RightArrow)</source>
        <translation>早送り(RightArrow)</translation>
    </message>
    <message>
        <source>巻き戻し(LeftArrow)</source>
        <translation>巻き戻し(LeftArrow)</translation>
    </message>
    <message>
        <source>１分巻き戻し</source>
        <translation>１分巻き戻し</translation>
    </message>
    <message>
        <source>１分先送り</source>
        <translation>１分先送り</translation>
    </message>
    <message>
        <source>ボリューム</source>
        <translation>ボリューム</translation>
    </message>
    <message>
        <source>画面サイズ</source>
        <translation>画面サイズ</translation>
    </message>
    <message>
        <source>再生位置</source>
        <translation>再生位置</translation>
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
        <translation>この項目を再生する</translation>
    </message>
</context>
</TS>
