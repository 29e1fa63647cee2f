// SPDX-License-Identifier: MIT
#pragma once
// A small SVD device of our own with one peripheral for each rule by which a
// CMSIS device header names registers and fields: headerStructName, derived
// peripherals, cluster arrays and lists, a cluster's headerStructName dropped
// (it is the peripheral's name and the cluster's joined) or kept (it is not:
// joined to the peripheral's headerStructName instead, as on Nordic's maps), dimName, register arrays and lists, field lists, an
// alternateGroup, characters a C name cannot hold, a register over 32 bits,
// one without fields, prependToName and appendToName. The C statements tests
// and the test that compiles them read it.
#include <string>

inline std::string CNamesDevice(const std::string& prefix = "") {
    const std::string field1 = "<field><name>UE</name><bitOffset>0</bitOffset><bitWidth>1</bitWidth></field>";
    return R"(<?xml version="1.0"?>
<device><name>CNAMES</name>)" +
           (prefix.empty() ? std::string() : "<headerDefinitionsPrefix>" + prefix + "</headerDefinitionsPrefix>") +
           R"(<size>32</size><resetValue>0</resetValue><peripherals>
<peripheral><name>POWER</name><headerStructName>PWR</headerStructName><baseAddress>0x40000000</baseAddress>
  <registers><register><name>INTENSET</name><addressOffset>0x304</addressOffset><fields>
    <field><name>POFWARN</name><bitOffset>2</bitOffset><bitWidth>1</bitWidth></field>
  </fields></register></registers></peripheral>
<peripheral><name>USART1</name><baseAddress>0x40001000</baseAddress>
  <addressBlock><offset>0</offset><size>0x400</size><usage>registers</usage></addressBlock>
  <registers><register><name>CR1</name><addressOffset>0</addressOffset><fields>)" +
           field1 + R"(
    <field><name>PARITY</name><bitRange>[3:2]</bitRange><enumeratedValues>
      <enumeratedValue><name>NONE</name><value>0</value></enumeratedValue>
      <enumeratedValue><name>ODD</name><value>1</value></enumeratedValue>
      <enumeratedValue><name>EVEN</name><value>2</value></enumeratedValue>
    </enumeratedValues></field>
  </fields></register>
  <register><name>SR</name><addressOffset>4</addressOffset><access>read-only</access><fields>)" +
           field1 + R"(</fields></register></registers></peripheral>
<peripheral derivedFrom="USART1"><name>USART2</name><baseAddress>0x40002000</baseAddress></peripheral>
<peripheral derivedFrom="USART1"><name>USART3</name><headerStructName>U3</headerStructName><baseAddress>0x40003000</baseAddress></peripheral>
<peripheral derivedFrom="USART1"><name>USART4</name><baseAddress>0x40004000</baseAddress>
  <addressBlock><offset>0</offset><size>0x800</size><usage>registers</usage></addressBlock></peripheral>
<peripheral><name>DMA0</name><baseAddress>0x40005000</baseAddress><registers>
  <cluster><name>CH[%s]</name><dim>4</dim><dimIncrement>0x10</dimIncrement><addressOffset>0</addressOffset>
    <register><name>CTRL</name><addressOffset>0</addressOffset><fields>
      <field><name>EN</name><bitOffset>0</bitOffset><bitWidth>1</bitWidth></field>
      <field><name>PRIO</name><bitRange>[3:2]</bitRange></field>
    </fields></register>
    <register><name>DATA[%s]</name><dim>2</dim><dimIncrement>4</dimIncrement><addressOffset>4</addressOffset><fields>
      <field><name>VAL</name><bitRange>[15:0]</bitRange></field>
    </fields></register>
  </cluster></registers></peripheral>
<peripheral derivedFrom="DMA0"><name>DMA1</name><baseAddress>0x40006000</baseAddress></peripheral>
<peripheral><name>FICR</name><baseAddress>0x40007000</baseAddress><registers>
  <cluster><name>INFO</name><headerStructName>FICR_INFO</headerStructName><addressOffset>0x100</addressOffset>
    <register><name>PART</name><addressOffset>0</addressOffset><fields>
      <field><name>PART</name><bitRange>[31:0]</bitRange></field>
    </fields></register></cluster>
  <cluster><name>CFG</name><headerStructName>SETUP</headerStructName><addressOffset>0x200</addressOffset>
    <register><name>MODE</name><addressOffset>0</addressOffset><fields>
      <field><name>M</name><bitRange>[1:0]</bitRange></field>
    </fields></register></cluster>
  <cluster><name>STR%s</name><dim>2</dim><dimIndex>0,1</dimIndex><dimIncrement>0x10</dimIncrement><addressOffset>0x300</addressOffset>
    <register><name>VAL</name><addressOffset>0</addressOffset><fields>
      <field><name>V</name><bitRange>[7:0]</bitRange></field>
    </fields></register></cluster>
  <cluster><name>BLK[%s]</name><dimName>EVT</dimName><dim>2</dim><dimIncrement>0x10</dimIncrement><addressOffset>0x400</addressOffset>
    <register><name>FLAG</name><addressOffset>0</addressOffset><fields>
      <field><name>SET</name><bitOffset>0</bitOffset><bitWidth>1</bitWidth></field>
    </fields></register></cluster>
  </registers></peripheral>
<peripheral><name>UARTE0</name><headerStructName>UARTE</headerStructName><baseAddress>0x40007800</baseAddress><registers>
  <cluster><name>RXD</name><headerStructName>UARTE_RXD</headerStructName><addressOffset>0x534</addressOffset>
    <register><name>PTR</name><addressOffset>0</addressOffset><fields>
      <field><name>PTR</name><bitRange>[31:0]</bitRange></field>
    </fields></register></cluster>
  </registers></peripheral>
<peripheral><name>TIMER</name><baseAddress>0x40008000</baseAddress><registers>
  <register><name>CC%s</name><dim>2</dim><dimIndex>A,B</dimIndex><dimIncrement>4</dimIncrement><addressOffset>0</addressOffset><fields>
    <field><name>VAL</name><bitRange>[15:0]</bitRange></field>
  </fields></register>
  <register><name>MODE</name><addressOffset>8</addressOffset><fields>
    <field><name>CNT</name><bitRange>[1:0]</bitRange></field></fields></register>
  <register><name>MODE</name><alternateGroup>PWM</alternateGroup><addressOffset>8</addressOffset><fields>
    <field><name>DUTY</name><bitRange>[3:0]</bitRange></field></fields></register>
  <register><name>WIDE</name><size>64</size><addressOffset>0x10</addressOffset><fields>
    <field><name>HI</name><bitRange>[47:32]</bitRange></field>
    <field><name>LO</name><bitOffset>0</bitOffset><bitWidth>1</bitWidth></field>
  </fields></register>
  <register><name>PLAIN</name><addressOffset>0x18</addressOffset></register>
  </registers></peripheral>
<peripheral><name>GPIO</name><baseAddress>0x40009000</baseAddress><registers>
  <register><name>OUT</name><addressOffset>0</addressOffset><fields>
    <field><name>PIN%s</name><dim>4</dim><dimIncrement>1</dimIncrement><bitOffset>0</bitOffset><bitWidth>1</bitWidth></field>
    <field><name>SPEED.FAST</name><bitRange>[9:8]</bitRange></field>
  </fields></register></registers></peripheral>
<peripheral><name>RADIO</name><prependToName>R_</prependToName><appendToName>_X</appendToName><baseAddress>0x4000A000</baseAddress><registers>
  <register><name>TXD[%s]</name><dim>2</dim><dimIncrement>4</dimIncrement><addressOffset>0</addressOffset><fields>
    <field><name>BYTE</name><bitRange>[7:0]</bitRange></field>
  </fields></register></registers></peripheral>
</peripherals></device>
)";
}
