#pragma once

#include <QString>

namespace mosaiq {

// The sites of the "登录" menu that open on a fixed login page.
enum class LoginSite {
    TencentWeibo,
    Baidu,
    NetEase,
    Renren,
    Yupoo,
    Moko,
    SinaWeibo,
    Taobao,
    Site56,
    Hupu,
    Custom,  // a start page from which the user goes anywhere
};

QString LoginPageAddress(LoginSite site);

// The "QQ空间/QQ群" item: the QQ Zone main host for an empty input box, else the QQ Zone user
// host, followed by the account number when the input is all digits and the sub-type box
// has entry 0 (QQ Zone) selected.
QString QqLoginAddress(const QString& inputText, int subTypeSelection);

}  // namespace mosaiq
