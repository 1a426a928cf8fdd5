#include "app/launcher/LauncherText.h"

#include <cerrno>
#include <cstring>
#include <iterator>

namespace korvel {
namespace {

bool japanese = false;

struct Wording {
    const char* english;
    const char* japanese;
};

// By Id, in its order. A Japanese sentence ends with "。", a part of one (a reason) with none.
constexpr Wording Wordings[] = {
    {"korvel: {1}; Korvel runs without its single-instance guard, so a later start opens a "
     "player of its own.\n",
     "korvel: {1}。単一起動の見張りなしで動くため、後から起動すると別のプレーヤーが開きます。\n"},
    {"korvel: Korvel is running but did not answer in time ({1}); it did not get {2}.\n",
     "korvel: Korvel は動いていますが、時間内に応答しませんでした ({1})。{2} "
     "は渡っていません。\n"},
    {"korvel: an empty clip name was given; the running Korvel was not asked to play it.\n",
     "korvel: 空のクリップ名が渡されました。動いている Korvel には再生を頼んでいません。\n"},
    {"korvel: {1}; the running Korvel did not get it.\n",
     "korvel: {1}。動いている Korvel には渡っていません。\n"},
    {"korvel: the running Korvel did not take {1}: {2}.\n",
     "korvel: 動いている Korvel は {1} を受け取りませんでした: {2}。\n"},
    {"the hand-off", "引き渡し"},
    {"cannot tell which file \"{1}\" names: the current folder cannot be read ({2})",
     "\"{1}\" がどのファイルか分かりません: 現在のフォルダーを読めません ({2})"},
    {"cannot find the user interface {1} nor {2}",
     "ユーザーインターフェース {1} も {2} も見つかりません"},
    {"cannot find the folder of the korvel program: {1}",
     "korvel プログラムのフォルダーが見つかりません: {1}"},
    {"korvel: cannot load the user interface {1}: {2}\n",
     "korvel: ユーザーインターフェース {1} を読み込めません: {2}。\n"},
    {"korvel: {1}\n", "korvel: {1}。\n"},
    {"Cannot create the folder {1} for Korvel's runtime files: {2}",
     "Korvel の実行時ファイル用のフォルダー {1} を作れません: {2}"},
    {"Cannot use the folder {1} for Korvel's runtime files: {2}",
     "Korvel の実行時ファイル用のフォルダー {1} を使えません: {2}"},
    {"Cannot make private the folder {1} for Korvel's runtime files: {2}",
     "Korvel の実行時ファイル用のフォルダー {1} を自分専用にできません: {2}"},
    {"Cannot find the home folder for Korvel's runtime files",
     "Korvel の実行時ファイル用のホームフォルダーが見つかりません"},
    {"The folder {1} belongs to another user; Korvel keeps no runtime files there",
     "フォルダー {1} はほかのユーザーのものなので、Korvel はそこに実行時ファイルを置きません"},
    {"The folder path {1} is too long for Korvel's hand-off socket",
     "フォルダーのパス {1} は Korvel の引き渡し用ソケットには長すぎます"},
    {"Cannot use the single-instance guard {1}: {2}", "単一起動の見張り {1} を使えません: {2}"},
    {"{1} is not Korvel's socket but something else that stands in its place",
     "{1} は Korvel のソケットではなく、その場所に別のものがあります"},
    {"the text is too long or malformed", "テキストが長すぎるか、正しくありません"},
    {"the answer was not understood", "応答を理解できませんでした"},
    {"the connection was closed without an answer", "応答のないまま接続が閉じられました"},
    {"no answer in time", "時間内に応答がありません"},
    {"the text is too long", "テキストが長すぎます"},
    {"the text could not be sent in time", "テキストを時間内に送れませんでした"},
    {"the text is longer than {1} bytes", "テキストが {1} バイトを超えています"},
    {"korvel: --export-skins needs the folder to write the skins into.\n",
     "korvel: --export-skins には、スキンを書き出すフォルダーを指定します。\n"},
};
static_assert(std::size(Wordings) == std::size_t(LauncherText::Id::ExportNeedsFolder) + 1);

struct Reason {
    int error;
    const char* japanese;
};

// The reasons the launcher's calls meet, in the words the player's windows use for them.
constexpr Reason Reasons[] = {
    {EPERM, "許可されていない操作です"},
    {ENOENT, "そのようなファイルやディレクトリはありません"},
    {EIO, "入出力エラーです"},
    {ENOMEM, "メモリーを確保できません"},
    {EACCES, "アクセスが許可されていません"},
    {EBUSY, "デバイスかリソースが使用中です"},
    {EEXIST, "ファイルがすでにあります"},
    {ENOTDIR, "ディレクトリではありません"},
    {EISDIR, "ディレクトリです"},
    {EINVAL, "引数が正しくありません"},
    {EMFILE, "開いているファイルが多すぎます"},
    {EFBIG, "ファイルが大きすぎます"},
    {ENOSPC, "デバイスに空きがありません"},
    {EROFS, "読み込み専用のファイルシステムです"},
    {ENAMETOOLONG, "ファイル名が長すぎます"},
    {ELOOP, "シンボリックリンクの階層が多すぎます"},
    {EDQUOT, "ディスクの割り当てを超えています"},
    {EADDRINUSE, "アドレスはすでに使われています"},
    {ECONNREFUSED, "接続を拒否されました"},
};

} // namespace

void LauncherText::setLanguage(const std::string& language) { japanese = language == "ja"; }

std::string LauncherText::text(Id id, std::initializer_list<std::string> parts) {
    const Wording& wording = Wordings[std::size_t(id)];
    const std::string pattern = japanese ? wording.japanese : wording.english;
    std::string filled;
    for (std::size_t at = 0; at < pattern.size(); ++at) {
        const char number = at + 2 < pattern.size() ? pattern[at + 1] : '\0';
        const auto index = std::size_t(number - '1');
        if (pattern[at] == '{' && number >= '1' && number <= '9' && pattern[at + 2] == '}' &&
            index < parts.size()) {
            filled += *(parts.begin() + index); // a part's own braces are never read as places
            at += 2;
        } else {
            filled += pattern[at];
        }
    }
    return filled;
}

std::string LauncherText::systemReason(int error) {
    if (!japanese) return std::strerror(error);
    for (const Reason& reason : Reasons) {
        if (reason.error == error) return reason.japanese;
    }
    const char* name = ::strerrorname_np(error);
    return std::string("システムのエラー ") + (name != nullptr ? name : std::to_string(error));
}

} // namespace korvel
