// The main window's layout: captions, fonts, geometry, settings. Pixel values
// are at 96 dots per inch and never rescaled. Chinese texts are written here
// in UTF-8 and stored as GB2312.

#include "app/form1.h"
#include "app/glyphs.h"
#include "config/hosts.h"
#include "platform/profile/codepage.h"
#include "ui/qr_code.h"

namespace qirelo::app {
namespace {

using platform::gb;

ui::Font SongTi(int height) {
    return ui::Font{gb("宋体"), height, ui::Charset::Gb2312};
}

} // namespace

void TForm1::LayOutControls() {
    const std::string mobile_host = config::mobile_host();

    set_caption(gb("Qirelo在线客户端"));
    set_font(SongTi(12));
    set_bounds(0, 0, 766, 505);
    set_centered(true);

    // Address bar and its buttons.
    Panel2.set_align(ui::Align::Top);
    Panel2.set_bounds(0, 0, 766, 22);
    Panel2.set_bevel_outer(ui::BevelStyle::None);
    Panel3.set_align(ui::Align::Right);
    Panel3.set_bounds(0, 0, 118, 22);
    Panel3.set_bevel_outer(ui::BevelStyle::None);
    edit_url.set_align(ui::Align::Client);
    edit_url.set_button_width(22);
    edit_url.set_glyph(GoGlyph());
    btn_c.set_caption(gb("×"));
    {
        ui::Font bold = SongTi(12);
        bold.bold = true;
        btn_c.set_font(bold);
    }
    btn_c.set_bounds(1, 0, 28, 22);
    spb1.set_bounds(30, 0, 28, 22);
    btn1.set_bounds(59, 0, 28, 22);
    btn2.set_bounds(88, 0, 28, 22);
    for (ui::SpeedButton* button : {&spb1, &btn1, &btn2})
        button->set_flat(true);
    spb1.set_glyph(StopGlyph());
    btn1.set_glyph(BackGlyph());
    btn2.set_glyph(ForwardGlyph());
    btn1.set_enabled(false);
    btn2.set_enabled(false);

    // Status bar: version, then the browsers' status text.
    sb1.add_panel(100);
    sb1.add_panel(50);

    // Tabs: the program tab, then the two browsers.
    pag1.set_align(ui::Align::Client);
    pag1.set_style(ui::TabStyle::FlatButtons);
    tb3.set_caption(gb("程序"));
    tb3.set_font(SongTi(14));
    tb1.set_caption(gb("空白页"));
    tb2.set_caption(gb("空白页"));
    for (ui::Gauge* gauge : {&Gauge1, &Gauge2}) {
        gauge->set_align(ui::Align::Top);
        gauge->set_bounds(0, 0, 100, 2);
        gauge->set_fore_color(ui::kBlue);
        gauge->set_color(ui::kButtonFace);
        gauge->set_show_text(false);
        gauge->set_progress(0);
    }
    web1.set_align(ui::Align::Client);
    web2.set_align(ui::Align::Client);

    // The program tab.
    Label1.set_caption(gb("手机访问") + gb(mobile_host) + gb(" →遥控电脑"));
    Label1.set_font(ui::Font{gb("黑体"), 20, ui::Charset::Gb2312});
    Label1.set_bounds(90, 32, 280, 20);

    GroupBox1.set_caption(gb("登录后可接受手机遥控 ●点播 ●快进 ●音量 ●关机"));
    GroupBox1.set_bounds(30, 88, 437, 177);
    Bevel1.set_shape(ui::BevelShape::BottomLine);
    Bevel1.set_bounds(16, 19, 405, 106);
    Label3.set_caption(gb("注册"));
    Label3.make_link();
    Label3.set_bounds(125, 34, 28, 14);
    edit_u.edit_label().set_caption(gb("Qirelo会员名"));
    edit_u.set_bounds(32, 51, 121, 22);
    edit_p.edit_label().set_caption(gb("密码"));
    edit_p.set_password_char('*');
    edit_p.set_bounds(180, 51, 121, 22);
    CheckBox1.set_caption(gb("记住密码"));
    CheckBox1.set_checked(true);
    CheckBox1.set_bounds(306, 54, 79, 17);
    BitBtn2.set_caption(gb("登录"));
    BitBtn2.set_enabled(false);
    BitBtn2.set_bounds(32, 85, 80, 25);
    BitBtn3.set_caption(gb("删除已保存的密码"));
    BitBtn3.set_bounds(180, 85, 121, 25);
    SpeedButton4.set_caption(gb("一键登录"));
    SpeedButton4.set_bounds(32, 137, 80, 25);
    Label5.set_caption(gb("QQ一键登录无需输入会员名和密码（需注册会员绑定QQ）"));
    Label5.set_font(SongTi(12));
    Label5.set_bounds(118, 144, 300, 12);

    GroupBox2.set_caption(gb("系统控制"));
    GroupBox2.set_bounds(30, 280, 437, 93);
    BitBtn1.set_caption(gb("立即关机(15秒后)"));
    BitBtn1.set_bounds(36, 26, 150, 37);
    pb1.set_range(0, 15);
    pb1.set_step(1);
    pb1.set_bounds(36, 63, 150, 16);
    Label2.set_caption(gb("设置系统音量(波形)："));
    Label2.set_bounds(220, 32, 140, 14);
    cb1.set_caption(gb("静音"));
    cb1.set_bounds(346, 31, 43, 17);
    TrackBar1.set_range(0, 255);
    TrackBar1.set_bounds(215, 48, 158, 40);

    Button1.set_caption(gb("检查版本"));
    Button1.set_bounds(555, 307, 97, 25);

    GroupBox3.set_caption(gb("手机网址二维码 ") + gb(mobile_host));
    GroupBox3.set_bounds(494, 88, 225, 177);
    Image1.set_bounds(59, 56, 100, 100);
    Image1.set_picture(ui::qr::render(ui::qr::encode(MobileSiteAddress()), 100));

    // Windowless components.
    Timer1.set_enabled(false);
    Timer1.set_interval(std::chrono::milliseconds(12000));
    Timer2.set_enabled(false);
    Timer2.set_interval(std::chrono::milliseconds(1000));
}

} // namespace qirelo::app
