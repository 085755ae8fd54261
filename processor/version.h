// Version and maker of zy Phaser, shown to hosts through the class factory.
#pragma once

#define ZY_VERSION_STR "3.1.0.1"
#define ZY_ABOUT_VERSION_STR "3.1.0"

#define ZY_VENDOR_STR "VARNOK Soft"
#define ZY_VENDOR_URL_STR "https://varnok-soft.example/zyphaser"
#define ZY_VENDOR_EMAIL_STR "mailto:support@varnok-soft.example"

#define ZY_PLUGIN_NAME_STR "zy Phaser"
#define ZY_CONTROLLER_NAME_STR "zy Phaser Controller"
#define ZY_SUBCATEGORIES_STR "Fx|Modulation"
