// SPDX-License-Identifier: GPL-3.0-or-later
// Constants of the software elementary functions, written by
// scripts/extended-tables.py from exact decimal arithmetic (120 digits).
// Private to the engine.
#pragma once

#include <cstdint>

#include "DoubleDouble.h"

namespace soft_tables {

// The bits of 2/pi after the point, 2^-1 to 2^-320, most significant first.
inline constexpr std::uint64_t TwoOverPi[] = {
    0xA2F9836E4E441529u,
    0xFC2757D1F534DDC0u,
    0xDB6295993C439041u,
    0xFE5163ABDEBBC561u,
    0xB7246E3A424DD2E0u,
};

inline constexpr DoubleDouble PiHalf = {0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54};
inline constexpr DoubleDouble Ln2 = {0x1.62e42fefa39efp-1, 0x1.abc9e3b39803fp-56};
inline constexpr DoubleDouble InverseLn2 = {0x1.71547652b82fep+0, 0x1.777d0ffda0d24p-56};
inline constexpr DoubleDouble Inverse3 = {0x1.5555555555555p-2, 0x1.5555555555555p-56};
inline constexpr DoubleDouble Inverse5 = {0x1.999999999999ap-3, -0x1.999999999999ap-57};
inline constexpr DoubleDouble Inverse6 = {0x1.5555555555555p-3, 0x1.5555555555555p-57};
inline constexpr DoubleDouble Inverse7 = {0x1.2492492492492p-3, 0x1.2492492492492p-57};
inline constexpr DoubleDouble Inverse24 = {0x1.5555555555555p-5, 0x1.5555555555555p-59};
inline constexpr DoubleDouble Inverse120 = {0x1.1111111111111p-7, 0x1.1111111111111p-63};

// sin(j/32), j = 0 .. 25
inline constexpr DoubleDouble SinOfStep[] = {
    {0x0.0p+0, 0x0.0p+0},
    {0x1.ffeaaaeeee86fp-6, -0x1.cd406fb224ae2p-60},
    {0x1.ffaaaeeed4edbp-5, -0x1.2d16d32684b69p-59},
    {0x1.7f701032550e4p-4, 0x1.afc2d1800501ap-60},
    {0x1.feaaeee86ee36p-4, -0x1.afcb2bcc6f03bp-59},
    {0x1.3eb312c5d66cbp-3, 0x1.47d666b66cb91p-57},
    {0x1.7dc102fbaf2b5p-3, 0x1.5ab50e23c97c3p-59},
    {0x1.bc6f84edc6199p-3, 0x1.9c1a56a7b0cabp-57},
    {0x1.faaeed4f31577p-3, -0x1.15d88508e32b8p-57},
    {0x1.1c37d64c6b876p-2, 0x1.46076fe0dcff4p-56},
    {0x1.3ad129769d3d8p-2, 0x1.03d550487839ap-63},
    {0x1.591bc9fa2f597p-2, 0x1.7c74bac3fe0cbp-57},
    {0x1.7710255764214p-2, -0x1.6ead7314bb6cep-57},
    {0x1.94a6be9f546c5p-2, -0x1.69ce13e683f58p-56},
    {0x1.b1d8305321617p-2, -0x1.ae242cb99f519p-56},
    {0x1.ce9d2e3d4a51fp-2, -0x1.2fc8a12dae298p-57},
    {0x1.eaee8744b05f0p-2, -0x1.789b43c9b027dp-58},
    {0x1.0362939c69955p-1, -0x1.2d8cd78397b01p-55},
    {0x1.110d0c4b69c3bp-1, 0x1.d918998809981p-55},
    {0x1.1e7343236574cp-1, 0x1.22a3fa4f41d5ap-56},
    {0x1.2b91dea88421ep-1, -0x1.fa371db216ab0p-55},
    {0x1.386597456282bp-1, -0x1.10fada93b07a8p-56},
    {0x1.44eb381cf386bp-1, -0x1.3ed6c1e6a5505p-55},
    {0x1.511f9fd7b351cp-1, -0x1.5c0e861c48831p-55},
    {0x1.5cffc16bf8f0dp-1, 0x1.96cb370eb578ap-55},
    {0x1.6888a4e134b2fp-1, -0x1.6b7d37644d5e6p-55},
};

// cos(j/32), j = 0 .. 25
inline constexpr DoubleDouble CosOfStep[] = {
    {0x1.0000000000000p+0, 0x0.0p+0},
    {0x1.ffc00155527d3p-1, -0x1.3b54492d89b5bp-55},
    {0x1.ff0015549f4d3p-1, 0x1.328387b99426fp-55},
    {0x1.fdc06bf7e6b9bp-1, 0x1.31902b535f8dbp-55},
    {0x1.fc015527d5bd3p-1, 0x1.b68f35094efb8p-55},
    {0x1.f9c340a7cc428p-1, 0x1.c5b6b063b7462p-55},
    {0x1.f706bdf9ece1cp-1, -0x1.698c80c36dcb4p-55},
    {0x1.f3cc7c3b3d16ep-1, -0x1.21a3ad28a3494p-57},
    {0x1.f01549f7deea1p-1, 0x1.d3c1e99e5cafdp-55},
    {0x1.ebe214f76efa8p-1, -0x1.02f9f12ba543ep-55},
    {0x1.e733ea0193d40p-1, -0x1.6428b3546ce13p-55},
    {0x1.e20bf49acd6c1p-1, -0x1.660aec7ef636bp-58},
    {0x1.dc6b7eb995912p-1, 0x1.4b364776dcd35p-58},
    {0x1.d653f073e4040p-1, -0x1.76236434bec37p-55},
    {0x1.cfc6cfa52ad9fp-1, 0x1.8b5b5508f2a0dp-55},
    {0x1.c8c5bf8ce1a84p-1, 0x1.ab3d1a1590123p-56},
    {0x1.c1528065b7d50p-1, -0x1.892111312e828p-55},
    {0x1.b96eeef58840ep-1, 0x1.45a3cc78fade0p-58},
    {0x1.b11d04162a4c6p-1, 0x1.1dd561efbc0c2p-56},
    {0x1.a85ed4373e02dp-1, 0x1.9be06385ec792p-57},
    {0x1.9f368ed912f85p-1, -0x1.1d200c5791606p-55},
    {0x1.95a67e00cb1fdp-1, -0x1.0befda21f862dp-55},
    {0x1.8bb105a5dc900p-1, 0x1.863e03e9474c1p-55},
    {0x1.8158a31916d5dp-1, -0x1.de8b90b8228dep-57},
    {0x1.769fec655211fp-1, -0x1.827d5cf8c68c5p-57},
    {0x1.6b898fa9efb5dp-1, 0x1.15ac786ccf4b2p-56},
};

// arctan(j/32), j = 0 .. 32
inline constexpr DoubleDouble ArctanOfStep[] = {
    {0x0.0p+0, 0x0.0p+0},
    {0x1.ffd55bba97625p-6, -0x1.5ec431444912cp-60},
    {0x1.ff55bb72cfdeap-5, -0x1.c934d86d23f1dp-60},
    {0x1.7ee182602f10fp-4, -0x1.cfb654c0c3d98p-58},
    {0x1.fd5ba9aac2f6ep-4, -0x1.cd37686760c17p-59},
    {0x1.3d6eee8c6626cp-3, 0x1.61a3b0ce9281bp-57},
    {0x1.7b97b4bce5b02p-3, 0x1.347b0b4f881cap-58},
    {0x1.b90d7529260a2p-3, 0x1.17b10d2e0e5abp-61},
    {0x1.f5b75f92c80ddp-3, 0x1.8ab6e3cf7afbdp-57},
    {0x1.18bf5a30bf178p-2, 0x1.30ca4748b1bf9p-57},
    {0x1.362773707ebccp-2, -0x1.963a544b672d8p-57},
    {0x1.530ad9951cd4ap-2, -0x1.2566480884082p-57},
    {0x1.6f61941e4def1p-2, -0x1.c63aae6f6e918p-56},
    {0x1.8b24d394a1b25p-2, 0x1.b6d0ba3748fa8p-56},
    {0x1.a64eec3cc23fdp-2, -0x1.24dec1b50b7ffp-56},
    {0x1.c0db4c94ec9f0p-2, -0x1.cc1ce70934c34p-56},
    {0x1.dac670561bb4fp-2, 0x1.a2b7f222f65e2p-56},
    {0x1.f40dd0b541418p-2, -0x1.a3992dc382a23p-57},
    {0x1.0657e94db30d0p-1, -0x1.d5b495f6349e6p-56},
    {0x1.1255d9bfbd2a9p-1, -0x1.2bdaee1c0ee35p-58},
    {0x1.1e00babdefeb4p-1, -0x1.928df287a668fp-58},
    {0x1.2958e59308e31p-1, -0x1.09e73b0c6c087p-56},
    {0x1.345f01cce37bbp-1, 0x1.1021137c71102p-55},
    {0x1.3f13fb89e96f4p-1, 0x1.ecf8b492644f0p-56},
    {0x1.4978fa3269ee1p-1, 0x1.2419a87f2a458p-56},
    {0x1.538f57b89061fp-1, -0x1.1bb74abda520cp-55},
    {0x1.5d58987169b18p-1, 0x1.0028e4bc5e7cap-57},
    {0x1.66d663923e087p-1, -0x1.6ea6febe8bbbap-56},
    {0x1.700a7c5784634p-1, -0x1.8c34d25aadef6p-56},
    {0x1.78f6bbd5d315ep-1, 0x1.406a089803740p-55},
    {0x1.819d0b7158a4dp-1, -0x1.bf76229d3b917p-56},
    {0x1.89ff5ff57f1f8p-1, -0x1.55b9a5e177a1bp-55},
    {0x1.921fb54442d18p-1, 0x1.1a62633145c07p-55},
};

// log2(1 + j/32), j = 0 .. 32
inline constexpr DoubleDouble Log2OfStep[] = {
    {0x0.0p+0, 0x0.0p+0},
    {0x1.6bad3758efd87p-5, 0x1.89b03784b5be1p-60},
    {0x1.663f6fac91316p-4, 0x1.f3314e0985116p-58},
    {0x1.08c588cda79e4p-3, -0x1.a7610e40bd6abp-57},
    {0x1.5c01a39fbd688p-3, -0x1.817fd3b7d7e5dp-57},
    {0x1.acf5e2db4ec94p-3, -0x1.01ee1343fe7cap-59},
    {0x1.fbc16b902680ap-3, 0x1.1d46ccc53c278p-58},
    {0x1.24407ab0e073ap-2, -0x1.f6e91ad16ecffp-56},
    {0x1.49a784bcd1b8bp-2, -0x1.b6d40900b2502p-62},
    {0x1.6e221cd9d0cdep-2, 0x1.5e35482d13dc1p-56},
    {0x1.91bba891f1709p-2, -0x1.2d352bea51e59p-56},
    {0x1.b47ebf73882a1p-2, -0x1.6fae441c09d76p-56},
    {0x1.d6753e032ea0fp-2, -0x1.c141e66faaaadp-62},
    {0x1.f7a8568cb06cfp-2, -0x1.8f3673ffdd785p-57},
    {0x1.0c10500d63aa6p-1, 0x1.62095d4a6d897p-55},
    {0x1.1bf311e95d00ep-1, -0x1.c4aec56233279p-57},
    {0x1.2b803473f7ad1p-1, -0x1.817fd3b7d7e5dp-58},
    {0x1.3abb3faa02167p-1, -0x1.99aa6df8b7d83p-56},
    {0x1.49a784bcd1b8bp-1, -0x1.b6d40900b2502p-61},
    {0x1.5848226989d34p-1, -0x1.e393a16b94b52p-56},
    {0x1.66a008e4788ccp-1, -0x1.968925e378d68p-56},
    {0x1.74b1fd64e0754p-1, -0x1.c8d43e017579bp-56},
    {0x1.82809d5be7073p-1, -0x1.211fdec9e1ec6p-56},
    {0x1.900e6160002cdp-1, -0x1.bc0af7b82e7d7p-61},
    {0x1.9d5d9fd5010b3p-1, 0x1.99956481d209fp-55},
    {0x1.aa708f58014d3p-1, 0x1.f378df21ac883p-55},
    {0x1.b74948f5532dap-1, 0x1.2d2dc50cd8e32p-55},
    {0x1.c3e9ca2e1a055p-1, 0x1.9b4c5a724dbd8p-56},
    {0x1.d053f6d260896p-1, 0x1.cc625d77039eap-55},
    {0x1.dc899ab3ff56cp-1, 0x1.799ceaeb510c6p-55},
    {0x1.e88c6b3626a73p-1, -0x1.577970e03f822p-55},
    {0x1.f45e08bcf0655p-1, 0x1.39356f93dc108p-55},
    {0x1.0000000000000p+0, 0x0.0p+0},
};

// 2^(j/32) - 1, j = -16 .. 16
inline constexpr DoubleDouble Exp2MinusOneOfStep[] = {
    {-0x1.2bec333018867p-2, 0x1.08b2fb1366ea9p-57},
    {-0x1.1c1142e274118p-2, -0x1.16e4786887a99p-56},
    {-0x1.0bdd71829fcf2p-2, -0x1.41577ee04992fp-56},
    {-0x1.f69d99accc7b6p-3, 0x1.59f115f566940p-58},
    {-0x1.d4c6af7557c93p-3, 0x1.ba7c55a192c9cp-57},
    {-0x1.b23213cc8e86cp-3, -0x1.75fc781b57ebcp-58},
    {-0x1.8edb9f5703dc0p-3, 0x1.c7c46b071f2bep-57},
    {-0x1.6abf137076a8ep-3, 0x1.684892395f0f8p-58},
    {-0x1.45d819a94b14bp-3, 0x1.e8734d1773206p-57},
    {-0x1.20224341286e4p-3, -0x1.5584f7e54ac3bp-57},
    {-0x1.f332113d56b1fp-4, 0x1.1065895048dd3p-60},
    {-0x1.a46f918837cb7p-4, -0x1.5f8685c2d6c49p-58},
    {-0x1.53f391822dbc7p-4, 0x1.76816bad9b837p-59},
    {-0x1.01b466423250ap-4, -0x1.a5cd4f184b5b9p-59},
    {-0x1.5b505d5b6f268p-5, 0x1.63dce863d76ccp-59},
    {-0x1.5f134923757f3p-6, -0x1.60f6913af3a8ap-62},
    {0x0.0p+0, 0x0.0p+0},
    {0x1.66c34c5615d0fp-6, -0x1.183ab7149735cp-60},
    {0x1.6ab0d9f3121ecp-5, 0x1.4c5c95b8c2155p-59},
    {0x1.1301d0125b50ap-4, 0x1.3aefc6bb64c63p-58},
    {0x1.72b83c7d517aep-4, -0x1.9041b9d78a75bp-59},
    {0x1.d4873168b9aa8p-4, -0x1.fe91ff5d9bc3ep-58},
    {0x1.1c3d373ab11c3p-3, 0x1.b07eb6c70572dp-58},
    {0x1.4f4efa8fef709p-3, 0x1.84ba2beb44954p-57},
    {0x1.837f0518db8a9p-3, 0x1.bd1ab48c60b91p-57},
    {0x1.b8d39b9d54e55p-3, 0x1.c51540bd151e6p-58},
    {0x1.ef5326091a112p-3, -0x1.497dbb83d8512p-57},
    {0x1.13821818624b4p-2, 0x1.89b7a04ef80d0p-59},
    {0x1.2ff6b54d8a89cp-2, 0x1.d4397afec42e2p-56},
    {0x1.4d0ad5a753e07p-2, 0x1.f0a83c49d86a6p-56},
    {0x1.6ac1f752150a5p-2, 0x1.8c93015191eb3p-56},
    {0x1.891fac0e95613p-2, -0x1.c1e0bf205a4b8p-57},
    {0x1.a827999fcef32p-2, 0x1.08b2fb1366ea9p-56},
};

}  // namespace soft_tables
