#include "sites/login_address.h"

namespace mosaiq {

namespace {

// Every login page of the menu, in one place.
const char16_t kQzoneUserRoot[] = u"http://user.qzone.qq.com/";
const char16_t kQzoneMainRoot[] = u"https://qzone.qq.com/";

struct LoginPage {
    LoginSite site;
    const char16_t* address;
};

const LoginPage kLoginPages[] = {
    {LoginSite::TencentWeibo, u"https://t.qq.com/"},
    {LoginSite::Baidu, u"https://passport.baidu.com/v2/?login"},
    {LoginSite::NetEase, u"https://reg.163.com/"},
    {LoginSite::Renren, u"https://www.renren.com/"},
    {LoginSite::Yupoo, u"https://x.yupoo.com/login"},
    {LoginSite::Moko, u"https://www.moko.cc/"},
    {LoginSite::SinaWeibo, u"https://weibo.com/login.php"},
    {LoginSite::Taobao, u"https://login.taobao.com/"},
    {LoginSite::Site56, u"https://www.56.com/"},
    {LoginSite::Hupu, u"https://passport.hupu.com/"},
    {LoginSite::Custom, u"https://www.baidu.com/"},
};

bool IsAllDigits(const QString& text) {
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return true;
}

}  // namespace

QString LoginPageAddress(LoginSite site) {
    for (const LoginPage& page : kLoginPages) {
        if (page.site == site) {
            return QString::fromUtf16(page.address);
        }
    }
    return QString();
}

QString QqLoginAddress(const QString& inputText, int subTypeSelection) {
    const QString text = inputText.trimmed();
    if (text.isEmpty()) {
        return QString::fromUtf16(kQzoneMainRoot);
    }
    QString address = QString::fromUtf16(kQzoneUserRoot);
    if (IsAllDigits(text) && subTypeSelection == 0) {
        address += text;
    }
    return address;
}

}  // namespace mosaiq
