#include "ui/fake/scripted_browser.h"

#include <algorithm>
#include <memory>

namespace qirelo::ui::fake {
namespace {

constexpr long kProgressMax = 10000;

char16_t lower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c;
}

WideString lowered(WideString text) {
    std::transform(text.begin(), text.end(), text.begin(), lower);
    return text;
}

bool starts_with(const WideString& text, const WideString& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// "http://host:port/path" -> "host"; empty for URLs without a host.
WideString host_of(const WideString& url) {
    const auto scheme = url.find(u"://");
    if (scheme == WideString::npos)
        return {};
    const auto start = scheme + 3;
    const auto end = url.find_first_of(u":/?#", start);
    return lowered(url.substr(start, end == WideString::npos ? WideString::npos : end - start));
}

// The value of attribute `name` in the tag text `tag` ("<input name=a value="b">").
std::optional<WideString> attribute(const WideString& tag, const WideString& name) {
    const WideString low = lowered(tag);
    std::size_t at = 0;
    while ((at = low.find(name, at)) != WideString::npos) {
        const bool starts_word = at > 0 && (low[at - 1] == u' ' || low[at - 1] == u'\t' ||
                                            low[at - 1] == u'\n' || low[at - 1] == u'"');
        std::size_t after = at + name.size();
        if (!starts_word || after >= low.size() || low[after] != u'=') {
            at = after;
            continue;
        }
        ++after;
        if (after < tag.size() && (tag[after] == u'"' || tag[after] == u'\'')) {
            const char16_t quote = tag[after];
            const auto close = tag.find(quote, after + 1);
            return tag.substr(after + 1,
                              close == WideString::npos ? WideString::npos : close - after - 1);
        }
        const auto end = tag.find_first_of(u" \t\r\n>", after);
        return tag.substr(after, end == WideString::npos ? WideString::npos : end - after);
    }
    return std::nullopt;
}

// Every tag "<name ...>" in [from, to) of the page, as its text.
std::vector<WideString> tags(const WideString& html, const WideString& name, std::size_t from,
                             std::size_t to) {
    std::vector<WideString> found;
    const WideString low = lowered(html);
    const WideString open = u"<" + name;
    for (std::size_t at = low.find(open, from); at != WideString::npos && at < to;
         at = low.find(open, at + 1)) {
        const auto close = html.find(u'>', at);
        found.push_back(
            html.substr(at, close == WideString::npos ? WideString::npos : close - at + 1));
    }
    return found;
}

WideString title_of(const WideString& html) {
    const WideString low = lowered(html);
    const auto open = low.find(u"<title>");
    if (open == WideString::npos)
        return {};
    const auto start = open + 7;
    const auto close = low.find(u"</title>", start);
    return html.substr(start, close == WideString::npos ? WideString::npos : close - start);
}

} // namespace

WideString FormPost::field(const WideString& name) const {
    for (const auto& [key, value] : fields)
        if (key == name)
            return value;
    return {};
}

void ScriptedWeb::add_page(const WideString& url, WideString html, WideString set_cookie) {
    pages_.emplace_back(url, Page{std::move(html), std::move(set_cookie)});
}

const ScriptedWeb::Page* ScriptedWeb::find(const WideString& url) const {
    for (const auto& [key, page] : pages_)
        if (key == url)
            return &page;
    return nullptr;
}

WideString ScriptedWeb::cookie(const WideString& host) const {
    for (const auto& [key, value] : cookies_)
        if (key == lowered(host))
            return value;
    return {};
}

void ScriptedWeb::set_cookie(const WideString& host, WideString cookie) {
    for (auto& [key, value] : cookies_)
        if (key == lowered(host)) {
            value = std::move(cookie);
            return;
        }
    cookies_.emplace_back(lowered(host), std::move(cookie));
}

ScriptedBrowser::ScriptedBrowser(WebBrowser& widget, ScriptedWeb& web)
    : widget_(widget), web_(web) {
    web_.browsers_.push_back(this);
}

ScriptedBrowser::~ScriptedBrowser() {
    std::erase(web_.browsers_, this);
}

ScriptedBrowser& ScriptedBrowser::attach(WebBrowser& widget, ScriptedWeb& web) {
    auto engine = std::make_unique<ScriptedBrowser>(widget, web);
    ScriptedBrowser& result = *engine;
    widget.attach_peer(std::move(engine));
    return result;
}

void ScriptedBrowser::check() {
    if (failing)
        throw BrowserError("Unspecified error");
}

void ScriptedBrowser::navigate(const WideString& url) {
    check();
    calls.push_back("Navigate");
    navigations.push_back(url);
    start(Load{url, true});
}

void ScriptedBrowser::start(Load load) {
    pending_ = std::move(load);
}

void ScriptedBrowser::go_back() {
    check();
    calls.push_back("GoBack");
    if (history_index_ == 0 || history_.empty())
        throw BrowserError("Unspecified error");
    --history_index_;
    start(Load{history_[history_index_], false});
}

void ScriptedBrowser::go_forward() {
    check();
    calls.push_back("GoForward");
    if (history_index_ + 1 >= history_.size())
        throw BrowserError("Unspecified error");
    ++history_index_;
    start(Load{history_[history_index_], false});
}

void ScriptedBrowser::stop() {
    check();
    calls.push_back("Stop");
    pending_.reset();
}

WideString ScriptedBrowser::location_url() {
    check();
    return location_;
}

WideString ScriptedBrowser::document_cookie() {
    check();
    if (cookie_override)
        return *cookie_override;
    return web_.cookie(host_of(location_));
}

BrowserAutomation ScriptedBrowser::application() {
    check();
    return BrowserAutomation(std::shared_ptr<void>(this, [](void*) {}));
}

bool ScriptedBrowser::translate_accelerator(const Message& message) {
    check();
    accelerator_messages.push_back(message);
    return accelerator_takes;
}

void ScriptedBrowser::complete() {
    if (!pending_)
        return;
    const Load load = *pending_;
    pending_.reset();

    WideString html;
    if (starts_with(load.url, u"about:"))
        html = load.url.substr(6);
    else if (const ScriptedWeb::Page* page = web_.find(load.url)) {
        html = page->html;
        if (!page->set_cookie.empty())
            web_.set_cookie(host_of(load.url), page->set_cookie);
    }
    if (load.record_in_history) {
        if (committed_)
            history_.resize(history_index_ + 1);
        history_.push_back(load.url);
        history_index_ = history_.size() - 1;
    }
    committed_ = true;
    location_ = load.url;
    title_ = title_of(html);
    if (title_.empty())
        title_ = load.url;

    widget_.status_text_change(load.url);
    widget_.progress_change(0, kProgressMax);
    widget_.command_state_change(kCommandNavigateBack, history_index_ > 0);
    widget_.command_state_change(kCommandNavigateForward, history_index_ + 1 < history_.size());
    widget_.title_change(title_);
    widget_.progress_change(kProgressMax, kProgressMax);
    widget_.document_complete(application(), load.url);
    widget_.progress_change(-1, kProgressMax);
    widget_.status_text_change(u"");
    submit_forms(html);
}

void ScriptedBrowser::complete_all() {
    // Bounded: a page that submits itself for ever must not hang a test.
    for (int i = 0; i < 100 && loading(); ++i)
        complete();
}

void ScriptedBrowser::submit_forms(const WideString& html) {
    const WideString low = lowered(html);
    for (std::size_t at = low.find(u"<form"); at != WideString::npos;
         at = low.find(u"<form", at + 1)) {
        const WideString tag = html.substr(at, html.find(u'>', at) - at + 1);
        const WideString name = attribute(tag, u"name").value_or(u"");
        if (name.empty() || low.find(lowered(name) + u".submit()") == WideString::npos)
            continue;
        const auto end = low.find(u"</form>", at);
        FormPost post;
        post.action = attribute(tag, u"action").value_or(u"");
        post.method = lowered(attribute(tag, u"method").value_or(u"get"));
        for (const WideString& input : tags(html, u"input", at, end))
            if (auto field = attribute(input, u"name"))
                post.fields.emplace_back(*field, attribute(input, u"value").value_or(u""));
        web_.posts.push_back(post);
        start(Load{post.action, true});
        return;
    }
}

void ScriptedBrowser::open_new_window(const WideString& url) {
    BrowserAutomation target;
    bool cancel = false;
    widget_.new_window2(target, cancel);
    if (cancel)
        return;
    for (ScriptedBrowser* browser : web_.browsers_)
        if (target && target.get() == browser) {
            browser->navigate(url);
            return;
        }
    new_top_level_windows.push_back(url);
}

} // namespace qirelo::ui::fake
