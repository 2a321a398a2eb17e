<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>Artwork</name>
    <message>
        <source>个人网站发布客户端</source>
        <translation>Personal web site publishing client</translation>
    </message>
</context>
<context>
    <name>ClientLifecycle</name>
    <message>
        <source>讯息无法保存，请检查程序目录的权限</source>
        <translation>The messages cannot be saved; please check the permissions of the program&apos;s directory</translation>
    </message>
    <message>
        <source>请输入用户名及密码</source>
        <translation>Please enter the login ID and password</translation>
    </message>
</context>
<context>
    <name>FramedDialog</name>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>Headless</name>
    <message>
        <source>登录成功</source>
        <translation>Login succeeded</translation>
    </message>
    <message>
        <source>登录失败: </source>
        <translation>Login failed: </translation>
    </message>
</context>
<context>
    <name>MessageBox</name>
    <message>
        <source>是(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>否(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>MessageLogModel</name>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>来自IP</source>
        <translation>From IP</translation>
    </message>
    <message>
        <source>内容</source>
        <translation>Message</translation>
    </message>
</context>
<context>
    <name>Registration</name>
    <message>
        <source>无法写入tempreg.txt，请检查程序目录的权限</source>
        <translation>Cannot write tempreg.txt; please check the permissions of the program&apos;s directory</translation>
    </message>
</context>
<context>
    <name>ServerDetection</name>
    <message>
        <source>未知</source>
        <translation>Unknown</translation>
    </message>
</context>
<context>
    <name>ServiceMessage</name>
    <message>
        <source>无法连接服务器，请检查Internet连接</source>
        <translation>Cannot reach the server; check the network</translation>
    </message>
    <message>
        <source>服务器发生故障，请稍后再试</source>
        <translation>Server error; please try again later</translation>
    </message>
</context>
<context>
    <name>TBasicSettingsPage</name>
    <message>
        <source>记录系统日志(&amp;G)</source>
        <translation>Keep an activity lo&amp;g</translation>
    </message>
    <message>
        <source>查看(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>开机自动运行(&amp;R)</source>
        <translation>&amp;Run when the computer starts</translation>
    </message>
    <message>
        <source>记住密码并自动登录(&amp;L)</source>
        <translation>Remember the password and &amp;log in automatically</translation>
    </message>
    <message>
        <source>登录后打开我的网站(&amp;A)</source>
        <translation>Open my web site &amp;after logging in</translation>
    </message>
    <message>
        <source>网络超时设置(如网络慢请适当加大设置值)(&amp;T)</source>
        <translation>Network &amp;time-out (raise it on a slow network)</translation>
    </message>
    <message>
        <source>服务器地址</source>
        <translation>Server address</translation>
    </message>
</context>
<context>
    <name>TWebSiteSettingsPage</name>
    <message>
        <source>在本机发布Web, 需安装Web服务器(&amp;D)</source>
        <translation>Publish the web site from this PC (nee&amp;ds a web server)</translation>
    </message>
    <message>
        <source>修改默认HTTP端口</source>
        <translation>Change the default HTTP port</translation>
    </message>
    <message>
        <source>当未登录或未发布Web时转到这里, 登录成功一次后即生效</source>
        <translation>Sent here while offline or not publishing; works after one login</translation>
    </message>
    <message>
        <source>转发地址 http://</source>
        <translation>Forwarding address http://</translation>
    </message>
    <message>
        <source>服务器类型</source>
        <translation>Server type</translation>
    </message>
    <message>
        <source>未知</source>
        <translation>Unknown</translation>
    </message>
    <message>
        <source>探测</source>
        <translation>Detect</translation>
    </message>
    <message>
        <source>修改(&amp;G)</source>
        <translation>Chan&amp;ge</translation>
    </message>
    <message>
        <source>网站标题(&amp;I)</source>
        <translation>T&amp;itle</translation>
    </message>
    <message>
        <source>搜索关键字(&amp;K)</source>
        <translation>&amp;Keywords</translation>
    </message>
    <message>
        <source>网站简介(&amp;I)</source>
        <translation>&amp;Introduction</translation>
    </message>
    <message>
        <source>网站类别(&amp;Y)</source>
        <translation>Categor&amp;y</translation>
    </message>
    <message>
        <source>HTTP端口</source>
        <translation>HTTP port</translation>
    </message>
</context>
<context>
    <name>TfrmChangeWebArea</name>
    <message>
        <source>系统配置</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>确定(&amp;O)</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>网站类别</source>
        <translation>Web site category</translation>
    </message>
    <message>
        <source>一级分类</source>
        <translation>First level</translation>
    </message>
    <message>
        <source>二级分类</source>
        <translation>Second level</translation>
    </message>
    <message>
        <source>三级分类</source>
        <translation>Third level</translation>
    </message>
    <message>
        <source>取消(&amp;X)</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>xml\webAreas.xml已损坏，请到KBZ主页下载</source>
        <translation>xml\webAreas.xml is damaged; please download it from the KBZ home page</translation>
    </message>
</context>
<context>
    <name>TfrmClientServiceMain</name>
    <message>
        <source>Marbello XP (未登录)</source>
        <translation>Marbello XP (offline)</translation>
    </message>
    <message>
        <source>登录失败: </source>
        <translation>Login failed: </translation>
    </message>
    <message>
        <source>Marbello XP (已登录)</source>
        <translation>Marbello XP (online)</translation>
    </message>
    <message>
        <source>收到新讯息</source>
        <translation>New message</translation>
    </message>
    <message>
        <source>用户登录中...</source>
        <translation>Logging in...</translation>
    </message>
    <message>
        <source>用户注销中...</source>
        <translation>Logging off...</translation>
    </message>
    <message>
        <source>退出登录(&amp;L)...</source>
        <translation>&amp;Log off...</translation>
    </message>
    <message>
        <source>用户登录(&amp;L)...</source>
        <translation>&amp;Log in...</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>确认要终止服务并退出吗?</source>
        <translation>Stop the service and exit?</translation>
    </message>
</context>
<context>
    <name>TfrmLogin</name>
    <message>
        <source>用户名(&amp;L):</source>
        <translation>&amp;Login ID:</translation>
    </message>
    <message>
        <source>密码(&amp;P):</source>
        <translation>&amp;Password:</translation>
    </message>
    <message>
        <source>登录(&amp;O)</source>
        <translation>L&amp;og in</translation>
    </message>
    <message>
        <source>取消(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>域名:</source>
        <translation>Domain:</translation>
    </message>
    <message>
        <source>启动自动运行(&amp;R)</source>
        <translation>&amp;Run at start-up</translation>
    </message>
    <message>
        <source>记住密码并自动登录(&amp;L)</source>
        <translation>Remember password, &amp;log in automatically</translation>
    </message>
    <message>
        <source>当软件运行时或登录后因为网络问题与服务器端开连接，将自动登录</source>
        <translation>Logs in again by itself when a network problem breaks the connection to the server, at start-up or after a login</translation>
    </message>
    <message>
        <source>免费注册(&amp;N)</source>
        <translation>&amp;New account</translation>
    </message>
    <message>
        <source>系统配置(&amp;O)</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>尚未登录</source>
        <translation>Not logged in</translation>
    </message>
    <message>
        <source>登录成功</source>
        <translation>Login succeeded</translation>
    </message>
    <message>
        <source>请输入用户名及密码</source>
        <translation>Please enter the login ID and password</translation>
    </message>
    <message>
        <source>登录中...</source>
        <translation>Logging in...</translation>
    </message>
    <message>
        <source>登录失败: </source>
        <translation>Login failed: </translation>
    </message>
</context>
<context>
    <name>TfrmMessageShow</name>
    <message>
        <source>讯息记录</source>
        <translation>Messages</translation>
    </message>
    <message>
        <source>清除全部(&amp;E)</source>
        <translation>&amp;Erase all</translation>
    </message>
    <message>
        <source>关闭(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>讯息记录无法清除，请检查程序目录的权限</source>
        <translation>The messages cannot be erased; please check the permissions of the program&apos;s directory</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>确实清除全部这些讯息吗?</source>
        <translation>Really erase all these messages?</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>收到了新的讯息，请查看后再清除</source>
        <translation>New messages have arrived; please read them before erasing</translation>
    </message>
</context>
<context>
    <name>TfrmOption</name>
    <message>
        <source>系统配置</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>确定(&amp;O)</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>取消(&amp;X)</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>基本设置</source>
        <translation>General</translation>
    </message>
    <message>
        <source>网站设置</source>
        <translation>Web site</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>设置保存失败，请检查程序目录的权限</source>
        <translation>The settings could not be saved; please check the permissions of the program&apos;s directory</translation>
    </message>
    <message>
        <source>保存设置</source>
        <translation>Save settings</translation>
    </message>
    <message>
        <source>设置已保存，请新登录服务器</source>
        <translation>Settings saved; please log in to the server again</translation>
    </message>
    <message>
        <source>xml\webServerType.xml文件损坏或不存在...</source>
        <translation>xml\webServerType.xml is damaged or missing...</translation>
    </message>
</context>
<context>
    <name>TfrmRegister</name>
    <message>
        <source>新注册</source>
        <translation>New registration</translation>
    </message>
    <message>
        <source>用户名(&amp;L)</source>
        <translation>&amp;Login ID</translation>
    </message>
    <message>
        <source>(3-12位英文/数字字符)</source>
        <translation>(3-12 letters or digits)</translation>
    </message>
    <message>
        <source>密码(&amp;P)</source>
        <translation>&amp;Password</translation>
    </message>
    <message>
        <source>确认密码(&amp;R)</source>
        <translation>&amp;Repeat</translation>
    </message>
    <message>
        <source>以下资料我们会按照用户协议严格为您保密，请如实填写...</source>
        <translation>Kept private under the user agreement; please answer truthfully...</translation>
    </message>
    <message>
        <source>真实姓名(&amp;N)</source>
        <translation>Real &amp;name</translation>
    </message>
    <message>
        <source>男</source>
        <translation>Male</translation>
    </message>
    <message>
        <source>女</source>
        <translation>Female</translation>
    </message>
    <message>
        <source>性别(&amp;S)</source>
        <translation>&amp;Sex</translation>
    </message>
    <message>
        <source>生日(&amp;B)</source>
        <translation>&amp;Birthday</translation>
    </message>
    <message>
        <source>中国大陆</source>
        <translation>Mainland China</translation>
    </message>
    <message>
        <source>中国港台地区</source>
        <translation>Hong Kong, Taiwan</translation>
    </message>
    <message>
        <source>亚洲</source>
        <translation>Asia</translation>
    </message>
    <message>
        <source>欧洲</source>
        <translation>Europe</translation>
    </message>
    <message>
        <source>北美</source>
        <translation>North America</translation>
    </message>
    <message>
        <source>南美</source>
        <translation>South America</translation>
    </message>
    <message>
        <source>非洲</source>
        <translation>Africa</translation>
    </message>
    <message>
        <source>大洋洲</source>
        <translation>Oceania</translation>
    </message>
    <message>
        <source>所在地(&amp;I)</source>
        <translation>Reg&amp;ion</translation>
    </message>
    <message>
        <source>联系地址(&amp;A)</source>
        <translation>&amp;Address</translation>
    </message>
    <message>
        <source>邮政编码(&amp;C)</source>
        <translation>Postal &amp;code</translation>
    </message>
    <message>
        <source>联系电话(&amp;T)</source>
        <translation>&amp;Telephone</translation>
    </message>
    <message>
        <source>证件号码(&amp;N)</source>
        <translation>ID card &amp;number</translation>
    </message>
    <message>
        <source>电子邮件(&amp;E)</source>
        <translation>&amp;E-mail</translation>
    </message>
    <message>
        <source>确定(&amp;O)</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>关闭(&amp;X)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>密码与确认密码不一致</source>
        <translation>The password and its repetition differ</translation>
    </message>
    <message>
        <source>Email不正确</source>
        <translation>The e-mail address is not valid</translation>
    </message>
    <message>
        <source>注册</source>
        <translation>Registration</translation>
    </message>
    <message>
        <source>恭喜，注册成功</source>
        <translation>Congratulations, you are registered</translation>
    </message>
    <message>
        <source>注册失败：</source>
        <translation>Registration failed: </translation>
    </message>
</context>
<context>
    <name>TfrmRegisterAgree</name>
    <message>
        <source>注册</source>
        <translation>Registration</translation>
    </message>
    <message>
        <source>我同意并愿意遵守以上条例(F8)</source>
        <translation>I agree to and will keep the terms above (F8)</translation>
    </message>
    <message>
        <source>下一步(&amp;N)</source>
        <translation>&amp;Next</translation>
    </message>
    <message>
        <source>关闭(&amp;X)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>RegisterAgree.txt文件损坏或不存在...</source>
        <translation>RegisterAgree.txt is damaged or missing...</translation>
    </message>
    <message>
        <source>注册条例</source>
        <translation>Registration terms</translation>
    </message>
</context>
<context>
    <name>TfrmWelcome</name>
    <message>
        <source>版本号:</source>
        <translation>Version:</translation>
    </message>
</context>
<context>
    <name>TrayMenuItems</name>
    <message>
        <source>用户登录(&amp;L)...</source>
        <translation>&amp;Log in...</translation>
    </message>
    <message>
        <source>系统配置(&amp;O)...</source>
        <translation>&amp;Options...</translation>
    </message>
    <message>
        <source>工具(&amp;T)</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <source>新用户注册(&amp;R)</source>
        <translation>New user &amp;registration</translation>
    </message>
    <message>
        <source>个人控制中心(&amp;P)</source>
        <translation>&amp;Personal control center</translation>
    </message>
    <message>
        <source>[Marbello XP] 论坛</source>
        <translation>[Marbello XP] Forum</translation>
    </message>
    <message>
        <source>讯息记录(&amp;M)</source>
        <translation>&amp;Messages</translation>
    </message>
    <message>
        <source>[Marbello XP]主页(&amp;F]</source>
        <translation>[Marbello XP] &amp;Front page</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>退出(&amp;X)...</source>
        <translation>E&amp;xit...</translation>
    </message>
</context>
<context>
    <name>WebSiteChecks</name>
    <message>
        <source>请填写网站端口</source>
        <translation>Please fill in the web site&apos;s port</translation>
    </message>
    <message>
        <source>请填写网站标题</source>
        <translation>Please fill in the web site&apos;s title</translation>
    </message>
    <message>
        <source>请填写网站关键字</source>
        <translation>Please fill in the web site&apos;s keywords</translation>
    </message>
    <message>
        <source>请填写网站介绍</source>
        <translation>Please fill in the web site&apos;s introduction</translation>
    </message>
    <message>
        <source>请填写网站类别</source>
        <translation>Please fill in the web site&apos;s category</translation>
    </message>
    <message>
        <source>网站名称中有非法字符</source>
        <translation>The web site&apos;s title contains illegal characters</translation>
    </message>
    <message>
        <source>网站关键字中有非法字符</source>
        <translation>The web site&apos;s keywords contain illegal characters</translation>
    </message>
    <message>
        <source>网站介绍中有非法字符</source>
        <translation>The web site&apos;s introduction contains illegal characters</translation>
    </message>
    <message>
        <source>网站类别中有非法字符</source>
        <translation>The web site&apos;s category contains illegal characters</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>已经有实例运行中</source>
        <translation>Another copy is already running</translation>
    </message>
</context>
</TS>
