#!/usr/bin/python3
"""Writes a synthetic Delphi project group for the benchmarks.

    make_group.py FOLDER N

FOLDER/Bench.groupproj names N projects, each in a folder of its own
(ModNNNN/AppNNNN.dproj, with Resources/ModNNNN for its scripts) as the IDE
writes them: UTF-8 with byte-order mark,
CR LF, about 30 KB each with version key lists for the base configuration, both
Windows platforms and the debug and release configurations, and the deployment
section that makes up most of a real project file. FOLDER/values.tsv holds each
project's values for the shell loop, already escaped for a sed replacement.
"""

import os
import sys

CRLF = "\r\n"
COMPANY = "Müller & Söhne GmbH"
COPYRIGHT = "© 2026 Müller & Söhne"
PRODUCT = "Bench Suite"
AUTHOR = "Build Team"

# Files a Delphi project deploys, per platform: the bulk of a project file.
DEPLOY_CLASSES = [
    ("AdditionalDebugSymbols", "Contents\\MacOS", ".dSYM"),
    ("AndroidClassesDexFile", "classes", ".dex"),
    ("AndroidGDBServer", "library\\lib\\armeabi-v7a", ""),
    ("AndroidLibnativeArmeabiFile", "library\\lib\\armeabi", ".so"),
    ("AndroidServiceOutput", "library\\lib\\armeabi-v7a", ".so"),
    ("AndroidSplashImageDef", "res\\drawable", ".xml"),
    ("AndroidSplashStyles", "res\\values", ".xml"),
    ("Android_LauncherIcon36", "res\\drawable-ldpi", ".png"),
    ("Android_LauncherIcon48", "res\\drawable-mdpi", ".png"),
    ("Android_LauncherIcon72", "res\\drawable-hdpi", ".png"),
    ("Android_LauncherIcon96", "res\\drawable-xhdpi", ".png"),
    ("Android_LauncherIcon144", "res\\drawable-xxhdpi", ".png"),
    ("Android_SplashImage426", "res\\drawable-small", ".png"),
    ("Android_SplashImage470", "res\\drawable-normal", ".png"),
    ("Android_SplashImage640", "res\\drawable-large", ".png"),
    ("Android_SplashImage960", "res\\drawable-xlarge", ".png"),
    ("DebugSymbols", "Contents\\MacOS", ".rsm"),
    ("DependencyFramework", "Contents\\MacOS", ".framework"),
    ("DependencyModule", "Contents\\MacOS", ".dylib"),
    ("DependencyPackage", "Contents\\MacOS", ".bpl"),
    ("File", "Contents\\Resources\\StartUp\\", ""),
    ("ProjectOSXInfoPList", "Contents", ".plist"),
    ("ProjectOutput", "Contents\\MacOS", ""),
    ("ProjectiOSDeviceDebug", "..\\$(PROJECTNAME).app.dSYM\\Contents\\Resources\\DWARF", ""),
    ("ProjectiOSEntitlements", "..\\", ".xcent"),
    ("ProjectiOSInfoPList", "", ".plist"),
    ("iPad_Launch768", "", ".png"),
    ("iPad_Launch1024", "", ".png"),
    ("iPhone_Launch320", "", ".png"),
    ("iPhone_Launch640", "", ".png"),
]
PLATFORMS = ["Android", "Android64", "iOSDevice32", "iOSDevice64", "iOSSimulator", "OSX32", "OSX64",
             "Linux64", "Win32", "Win64"]


def key_list(version, description, internal, company=COMPANY, product=PRODUCT):
    keys = [
        ("CompanyName", company), ("FileDescription", description), ("FileVersion", version),
        ("InternalName", internal), ("LegalCopyright", COPYRIGHT), ("LegalTrademarks", ""),
        ("OriginalFilename", internal + ".exe"), ("ProductName", product),
        ("ProductVersion", "3.1.0.0"), ("Comments", ""), ("Author", AUTHOR),
    ]
    text = ";".join(k + "=" + v for k, v in keys)
    return text.replace("&", "&amp;")


def project_file(i):
    name = "App%04d" % i
    version = "%d.%d.%d.%d" % (1 + i % 5, i % 10, i % 7, 100 + i)
    description = "Bench application %d" % i
    lines = [
        '<Project xmlns="http://schemas.microsoft.com/developer/msbuild/2003">',
        "    <PropertyGroup>",
        "        <ProjectGuid>{%08X-C249-4186-944B-49B120B6302E}</ProjectGuid>" % i,
        "        <ProjectVersion>19.5</ProjectVersion>",
        "        <FrameworkType>VCL</FrameworkType>",
        "        <MainSource>%s.dpr</MainSource>" % name,
        "        <Base>True</Base>",
        "        <Config Condition=\"'$(Config)'==''\">Debug</Config>",
        "        <Platform Condition=\"'$(Platform)'==''\">Win32</Platform>",
        "        <TargetedPlatforms>3</TargetedPlatforms>",
        "        <AppType>Application</AppType>",
        "    </PropertyGroup>",
    ]
    configs = [("Base", "'$(Config)'=='Base' or '$(Base)'!=''"),
               ("Base_Win32", "('$(Platform)'=='Win32' and '$(Base)'=='true') or '$(Base_Win32)'!=''"),
               ("Base_Win64", "('$(Platform)'=='Win64' and '$(Base)'=='true') or '$(Base_Win64)'!=''"),
               ("Cfg_1", "'$(Config)'=='Debug' or '$(Cfg_1)'!=''"),
               ("Cfg_2", "'$(Config)'=='Release' or '$(Cfg_2)'!=''")]
    for cfg, condition in configs:
        lines += ["    <PropertyGroup Condition=\"%s\">" % condition,
                  "        <%s>true</%s>" % (cfg, cfg), "        <CfgParent>Base</CfgParent>",
                  "        <Base>true</Base>", "    </PropertyGroup>"]
    for cfg, _ in configs:
        lines += [
            "    <PropertyGroup Condition=\"'$(%s)'!=''\">" % cfg,
            "        <DCC_Namespace>Winapi;System.Win;Data.Win;Datasnap.Win;Web.Win;Soap.Win;Xml.Win;"
            "Bde;System;Xml;Data;Datasnap;Web;Soap;Vcl;Vcl.Imaging;Vcl.Touch;Vcl.Samples;"
            "Vcl.Shell;$(DCC_Namespace)</DCC_Namespace>",
            "        <SanitizedProjectName>%s</SanitizedProjectName>" % name,
            "        <DCC_DcuOutput>.\\$(Platform)\\$(Config)</DCC_DcuOutput>",
            "        <DCC_ExeOutput>.\\$(Platform)\\$(Config)</DCC_ExeOutput>",
            "        <VerInfo_Locale>1033</VerInfo_Locale>",
            "        <VerInfo_IncludeVerInfo>true</VerInfo_IncludeVerInfo>",
            "        <VerInfo_Keys>%s</VerInfo_Keys>" % key_list(version, description, name),
            "        <DCC_UsePackage>RESTComponents;emsclientfiredac;DataSnapFireDAC;FireDACIBDriver;"
            "vclFireDAC;FireDACCommon;FireDACCommonDriver;bindcompvcl;vclactnband;vclimg;vcldb;"
            "dbrtl;vcl;rtl;bindengine;bindcomp;xmlrtl;soaprtl;IndySystem;IndyCore;IndyProtocols;"
            "inet;vclx;vclie;$(DCC_UsePackage)</DCC_UsePackage>",
            "        <Icon_MainIcon>$(BDS)\\bin\\delphi_PROJECTICON.ico</Icon_MainIcon>",
            "        <UWP_DelphiLogo44>$(BDS)\\bin\\Artwork\\Windows\\UWP\\delphi_UwpDefault_44.png</UWP_DelphiLogo44>",
            "    </PropertyGroup>",
        ]
    lines += [
        "    <ItemGroup>",
        "        <DelphiCompile Include=\"$(MainSource)\">",
        "            <MainSource>MainSource</MainSource>",
        "        </DelphiCompile>",
        "        <DCCReference Include=\"Main.pas\">",
        "            <Form>MainForm</Form>",
        "        </DCCReference>",
        "        <BuildConfiguration Include=\"Release\">",
        "            <Key>Cfg_2</Key>",
        "            <CfgParent>Base</CfgParent>",
        "        </BuildConfiguration>",
        "    </ItemGroup>",
        "    <ProjectExtensions>",
        "        <Borland.Personality>Delphi.Personality.12</Borland.Personality>",
        "        <Borland.ProjectType>Application</Borland.ProjectType>",
        "        <BorlandProject>",
        "            <Delphi.Personality>",
        "                <Source>",
        "                    <Source Name=\"MainSource\">%s.dpr</Source>" % name,
        "                </Source>",
        "            </Delphi.Personality>",
        "            <Deployment Version=\"3\">",
    ]
    for deploy_class, remote_dir, ext in DEPLOY_CLASSES:
        lines.append("                <DeployClass Name=\"%s\">" % deploy_class)
        for platform in PLATFORMS:
            lines += ["                    <Platform Name=\"%s\">" % platform,
                      "                        <RemoteDir>%s</RemoteDir>" % remote_dir,
                      "                        <Operation>1</Operation>"]
            if ext:
                lines.append("                        <Extensions>%s</Extensions>" % ext)
            lines.append("                    </Platform>")
            if len(CRLF.join(lines)) > 29000:
                break
        lines.append("                </DeployClass>")
        if len(CRLF.join(lines)) > 29000:
            break
    lines += [
        "            </Deployment>",
        "            <Platforms>",
        "                <Platform value=\"Win32\">True</Platform>",
        "                <Platform value=\"Win64\">True</Platform>",
        "            </Platforms>",
        "        </BorlandProject>",
        "        <ProjectFileVersion>12</ProjectFileVersion>",
        "    </ProjectExtensions>",
        "    <Import Project=\"$(BDS)\\Bin\\CodeGear.Delphi.Targets\" Condition=\"Exists('$(BDS)\\Bin\\CodeGear.Delphi.Targets')\"/>",
        "</Project>",
    ]
    values = (name, version.split("."), description)
    return "\ufeff" + CRLF.join(lines) + CRLF, values


def group_file(entries):
    names = [os.path.splitext(os.path.basename(e.replace("\\", "/")))[0] for e in entries]
    lines = ['<Project xmlns="http://schemas.microsoft.com/developer/msbuild/2003">',
             "    <PropertyGroup>",
             "        <ProjectGuid>{5D2E1B3C-6A2F-4E43-9E0C-8B1A1C0B7D11}</ProjectGuid>",
             "    </PropertyGroup>",
             "    <ItemGroup>"]
    for e in entries:
        lines += ["        <Projects Include=\"%s\">" % e, "            <Dependencies/>",
                  "        </Projects>"]
    lines += ["    </ItemGroup>", "    <ProjectExtensions>",
              "        <Borland.Personality>Default.Personality.12</Borland.Personality>",
              "        <Borland.ProjectType/>", "        <BorlandProject>",
              "            <Default.Personality/>", "        </BorlandProject>",
              "    </ProjectExtensions>"]
    for e, n in zip(entries, names):
        for suffix, target in (("", "Build"), (":Clean", "Clean"), (":Make", "Make")):
            lines += ["    <Target Name=\"%s%s\">" % (n, suffix),
                      "        <MSBuild Projects=\"%s\"%s/>" % (e, "" if target == "Build" else " Targets=\"%s\"" % target),
                      "    </Target>"]
    for suffix, target in (("", "Build"), (":Clean", "Clean"), (":Make", "Make")):
        lines += ["    <Target Name=\"%s\">" % target,
                  "        <CallTarget Targets=\"%s\"/>" % ";".join(n + suffix for n in names),
                  "    </Target>"]
    lines += ["    <Import Project=\"$(BDS)\\Bin\\CodeGear.Group.Targets\" "
              "Condition=\"Exists('$(BDS)\\Bin\\CodeGear.Group.Targets')\"/>", "</Project>"]
    return "\ufeff" + CRLF.join(lines) + CRLF


def sed_escape(text):
    return text.replace("\\", "\\\\").replace("/", "\\/").replace("&", "\\&")


def main():
    folder, count = sys.argv[1], int(sys.argv[2])
    os.makedirs(folder, exist_ok=True)
    entries = []
    rows = []
    for i in range(count):
        entry = "Mod%04d\\App%04d.dproj" % (i, i)
        entries.append(entry)
        text, (name, version, description) = project_file(i)
        path = os.path.join(folder, "Mod%04d" % i)
        os.makedirs(path, exist_ok=True)
        # The build writes each script below the resources folder in the
        # project's own sub-folder, which must be there.
        os.makedirs(os.path.join(folder, "Resources", "Mod%04d" % i), exist_ok=True)
        with open(os.path.join(path, "App%04d.dproj" % i), "w", encoding="utf-8", newline="") as f:
            f.write(text)
        rows.append("\t".join(["Mod%04d/App%04d" % (i, i)] + version + [sed_escape(description)]))
    with open(os.path.join(folder, "Bench.groupproj"), "w", encoding="utf-8", newline="") as f:
        f.write(group_file(entries))
    with open(os.path.join(folder, "values.tsv"), "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(rows) + "\n")
    with open(os.path.join(folder, "group.tsv"), "w", encoding="utf-8", newline="\n") as f:
        f.write("\t".join(sed_escape(v) for v in ("3", "1", COMPANY, COPYRIGHT, PRODUCT, AUTHOR)) + "\n")


if __name__ == "__main__":
    main()
