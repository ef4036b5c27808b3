// The main window on the real Win32 controls (under Wine with Xvfb in the
// test run): the window, its controls with their captions and geometry, the
// status bar, users.ini through the system's own INI functions, the browser
// controls, the message loop with timers and Synchronize, and a picture of the
// window kept next to the test as an artifact.

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <map>
#include <set>
#include <thread>

#include "app/form1.h"
#include "config/hosts.h"
#include "platform/profile/codepage.h"
#include "platform/win32/services.h"
#include "ui/application.h"
#include "ui/win32/backend.h"
#include "ui/win32/browser_host.h"
#include "ui/win32/handles.h"
#include "ui/win32/peers.h"
#include "ui/win32/text.h"

namespace qirelo::app {
namespace {

using namespace std::chrono_literals;
using ui::win32::window_of;

std::wstring text_of(HWND window) {
    wchar_t buffer[512] = {};
    GetWindowTextW(window, buffer, 512);
    return buffer;
}

ui::Rect rect_in_parent(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return ui::Rect{static_cast<int>(r.left), static_cast<int>(r.top),
                    static_cast<int>(r.right - r.left), static_cast<int>(r.bottom - r.top)};
}

// Writes the window's picture as a 24-bit BMP file.
void save_picture(HWND window, const std::string& path) {
    RECT r;
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const ui::win32::WindowDc screen(nullptr);
    HDC memory = CreateCompatibleDC(screen.get());
    HBITMAP bitmap = CreateCompatibleBitmap(screen.get(), width, height);
    {
        const ui::win32::Selection picture(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen.get(), r.left, r.top, SRCCOPY);
    }
    BITMAPINFOHEADER info{sizeof info, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const int stride = (width * 3 + 3) & ~3;
    std::vector<char> pixels(static_cast<std::size_t>(stride * height));
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
              reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    BITMAPFILEHEADER file{
        0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof info + pixels.size()), 0, 0,
        sizeof(BITMAPFILEHEADER) + sizeof info};
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    DeleteObject(bitmap);
    DeleteDC(memory);
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls,
                                      ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES};
        InitCommonControlsEx(&controls);
        ini_ = system_.machine.executable_directory() + "users.ini";
        DeleteFileA(ini_.c_str());
        // Written through the system's own INI function, in GB2312.
        ASSERT_TRUE(WritePrivateProfileStringA("user", "name", name_.c_str(), ini_.c_str()));
        ASSERT_TRUE(WritePrivateProfileStringA("user", "pass", "", ini_.c_str()));
        control_word_before_ = system_.fpu.control_word();

        application_.set_title(platform::gb("Qirelo在线客户端"));
        form_ = std::make_unique<TForm1>(application_, services_);
        ui::win32::realize(backend_, *form_);
        application_.set_main_form(*form_);
        form_->show_form();
        pump(300ms);
    }

    void TearDown() override {
        form_.reset();
        DeleteFileA(ini_.c_str());
    }

    void pump(std::chrono::milliseconds how_long) {
        const auto until = std::chrono::steady_clock::now() + how_long;
        while (std::chrono::steady_clock::now() < until) {
            application_.process_messages();
            Sleep(5);
        }
    }

    HWND main() const { return window_of(*form_); }

    ui::win32::OleSession ole_;
    ui::win32::Backend backend_;
    ui::Application application_{backend_};
    platform::win32::Win32Platform system_;
    platform::Services services_ = system_.services();
    std::string ini_;
    std::string name_ = platform::gb("会员张三");
    std::uint16_t control_word_before_ = 0;
    std::unique_ptr<TForm1> form_;
};

TEST_F(MainWindow, OpensMaximisedWithItsCaptionAndTheThreeTabsProgramFirst) {
    ASSERT_NE(main(), nullptr);
    EXPECT_TRUE(IsWindowVisible(main()));
    EXPECT_TRUE(GetWindowLongPtrW(main(), GWL_STYLE) & WS_MAXIMIZE);
    EXPECT_EQ(text_of(main()), L"Qirelo在线客户端");

    HWND tabs = window_of(form_->pag1);
    ASSERT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 3);
    std::vector<std::wstring> captions;
    for (int i = 0; i < 3; ++i) {
        wchar_t text[64] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        captions.push_back(text);
    }
    EXPECT_EQ(captions, (std::vector<std::wstring>{L"程序", L"空白页", L"空白页"}));
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(GetWindowLongPtrW(tabs, GWL_STYLE) & TCS_FLATBUTTONS);
    EXPECT_TRUE(IsWindowVisible(window_of(form_->tb3)));
    EXPECT_FALSE(IsWindowVisible(window_of(form_->tb1)));
}

// Window enumeration calls back with the system's calling convention, which a
// lambda does not have in a 32-bit build.
BOOL CALLBACK collect_text(HWND child, LPARAM found) {
    reinterpret_cast<std::set<std::wstring>*>(found)->insert(text_of(child));
    return TRUE;
}

TEST_F(MainWindow, ChildControlsCarryTheirCaptions) {
    std::set<std::wstring> texts;
    EnumChildWindows(main(), collect_text, reinterpret_cast<LPARAM>(&texts));
    for (const wchar_t* caption :
         {L"登录后可接受手机遥控 ●点播 ●快进 ●音量 ●关机", L"Qirelo会员名", L"密码", L"记住密码",
          L"登录", L"删除已保存的密码", L"注册", L"一键登录",
          L"QQ一键登录无需输入会员名和密码（需注册会员绑定QQ）", L"系统控制", L"立即关机(15秒后)",
          L"设置系统音量(波形)：", L"静音", L"检查版本", L"×"})
        EXPECT_TRUE(texts.contains(caption)) << ui::win32::narrow(caption);
    const std::wstring mobile = ui::win32::wide(config::mobile_host());
    EXPECT_TRUE(texts.contains(L"手机访问" + mobile + L" →遥控电脑"));
    EXPECT_TRUE(texts.contains(L"手机网址二维码 " + mobile));
}

TEST_F(MainWindow, ProgramTabFollowsTheGeometryTable) {
    struct Placement {
        ui::Control* control;
        ui::Control* parent;
        ui::Rect rect;
        bool sized_to_text;
    };
    TForm1& f = *form_;
    const std::vector<Placement> table{
        {&f.Label1, &f.tb3, {90, 32, 280, 20}, true},
        {&f.GroupBox1, &f.tb3, {30, 88, 437, 177}, false},
        {&f.GroupBox2, &f.tb3, {30, 280, 437, 93}, false},
        {&f.GroupBox3, &f.tb3, {494, 88, 225, 177}, false},
        {&f.Button1, &f.tb3, {555, 307, 97, 25}, false},
        {&f.Label3, &f.GroupBox1, {125, 34, 28, 14}, true},
        {&f.edit_u, &f.GroupBox1, {32, 51, 121, 22}, false},
        {&f.edit_p, &f.GroupBox1, {180, 51, 121, 22}, false},
        {&f.CheckBox1, &f.GroupBox1, {306, 54, 79, 17}, false},
        {&f.BitBtn2, &f.GroupBox1, {32, 85, 80, 25}, false},
        {&f.BitBtn3, &f.GroupBox1, {180, 85, 121, 25}, false},
        {&f.SpeedButton4, &f.GroupBox1, {32, 137, 80, 25}, false},
        {&f.Label5, &f.GroupBox1, {118, 144, 300, 12}, true},
        {&f.BitBtn1, &f.GroupBox2, {36, 26, 150, 37}, false},
        {&f.pb1, &f.GroupBox2, {36, 63, 150, 16}, false},
        {&f.Label2, &f.GroupBox2, {220, 32, 140, 14}, true},
        {&f.cb1, &f.GroupBox2, {346, 31, 43, 17}, false},
        {&f.TrackBar1, &f.GroupBox2, {215, 48, 158, 40}, false},
        {&f.Image1, &f.GroupBox3, {59, 56, 100, 100}, false},
    };
    for (const Placement& p : table) {
        HWND window = window_of(*p.control);
        ASSERT_NE(window, nullptr) << p.control->name();
        EXPECT_EQ(GetParent(window), window_of(*p.parent)) << p.control->name();
        const ui::Rect actual = rect_in_parent(window);
        if (p.sized_to_text) {
            EXPECT_EQ(actual.left, p.rect.left) << p.control->name();
            EXPECT_EQ(actual.top, p.rect.top) << p.control->name();
            EXPECT_GT(actual.width, 0) << p.control->name();
        } else {
            EXPECT_EQ(actual, p.rect) << p.control->name() << " at " << actual.left << ","
                                      << actual.top << " " << actual.width << "x" << actual.height;
        }
    }
    // Texts lie beneath the controls they overlap (Label2 runs under cb1).
    auto z_index = [](HWND window) {
        int index = 0;
        for (HWND w = GetWindow(GetParent(window), GW_CHILD); w && w != window;
             w = GetWindow(w, GW_HWNDNEXT))
            ++index;
        return index;
    };
    EXPECT_LT(z_index(window_of(f.cb1)), z_index(window_of(f.Label2)));
    // The bevel is the group's bottom line only.
    EXPECT_EQ(rect_in_parent(window_of(f.Bevel1)), (ui::Rect{16, 19 + 106 - 2, 405, 2}));
}

TEST_F(MainWindow, AddressBarStatusBarAndBrowsersTakeTheirPlaces) {
    TForm1& f = *form_;
    RECT client;
    GetClientRect(main(), &client);
    EXPECT_EQ(rect_in_parent(window_of(f.Panel2)),
              (ui::Rect{0, 0, static_cast<int>(client.right), 22}));
    EXPECT_EQ(rect_in_parent(window_of(f.Panel3)).width, 118);
    EXPECT_EQ(rect_in_parent(window_of(f.Gauge1)).height, 2);

    HWND status = window_of(f.sb1);
    wchar_t text[64] = {};
    SendMessageW(status, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"版本2013.8.9.0");
    int edges[4] = {};
    EXPECT_EQ(SendMessageW(status, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 2);
    EXPECT_EQ(edges[0], 100);

    for (auto [browser, sheet] : {std::pair{&f.web1, &f.tb1}, {&f.web2, &f.tb2}}) {
        ASSERT_NE(window_of(*browser), nullptr);
        EXPECT_EQ(GetParent(window_of(*browser)), window_of(*sheet));
        EXPECT_TRUE(ui::win32::browser_created(*browser)) << browser->name();
    }
}

TEST_F(MainWindow, UsersIniFillsTheBoxesAndTheFocusIsInTheName) {
    EXPECT_EQ(form_->edit_u.text(), name_);
    EXPECT_EQ(text_of(window_of(form_->edit_u)), L"会员张三");
    EXPECT_EQ(text_of(window_of(form_->edit_p)), L"");
    EXPECT_FALSE(IsWindowEnabled(window_of(form_->BitBtn2)));
    EXPECT_EQ(GetFocus(), window_of(form_->edit_u));
}

TEST_F(MainWindow, TypingInTheNativeBoxChangesTheWidgetAndTabMovesOn) {
    HWND name = window_of(form_->edit_u);
    int changes = 0;
    form_->edit_u.OnChange = [&](ui::Component&) { ++changes; };
    SetWindowTextW(name, L"abcd");
    EXPECT_EQ(form_->edit_u.text(), "abcd");
    EXPECT_EQ(changes, 1);

    PostMessageW(name, WM_KEYDOWN, VK_TAB, 0);
    pump(100ms);
    EXPECT_EQ(form_->active_control(), &form_->edit_p);
    EXPECT_EQ(GetFocus(), window_of(form_->edit_p));
}

TEST_F(MainWindow, ProgramTabShowClearsTheBarAndTimer1FiresOnceOnTheSystemTimer) {
    form_->pag1.select_tab(1);
    form_->edit_url.set_text("http://x/");
    EXPECT_EQ(text_of(window_of(form_->edit_url)), L"http://x/");
    SendMessageW(window_of(form_->pag1), TCM_SETCURSEL, 0, 0);
    NMHDR change{window_of(form_->pag1), 0, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(GetParent(window_of(form_->pag1)), WM_NOTIFY, 0,
                 reinterpret_cast<LPARAM>(&change));
    EXPECT_EQ(form_->pag1.active_page(), &form_->tb3);
    EXPECT_EQ(text_of(window_of(form_->edit_url)), L"");

    int runs = 0;
    form_->Action1.OnExecute = [&](ui::Component&) { ++runs; };
    form_->Timer1.set_interval(50ms);
    form_->Timer1.set_enabled(true);
    pump(400ms);
    EXPECT_EQ(runs, 1);
}

TEST_F(MainWindow, WorkerClosesTheWindowThroughSynchronizeAndTheControlWordComesBack) {
    save_picture(main(), system_.machine.executable_directory() + "form1_window.bmp");
    std::atomic<bool> closed{false};
    std::thread worker([&] {
        application_.synchronize([&] { form_->close(); });
        closed = true;
    });
    application_.run();
    worker.join();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(IsWindowVisible(main()));
    EXPECT_EQ(system_.fpu.control_word(), control_word_before_);
}

} // namespace
} // namespace qirelo::app
