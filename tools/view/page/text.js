// The page's own words: every button, title and note goes through TF.t, which fills in the
// {named} values.
'use strict';
window.TF = window.TF || {};
TF.t = (text, values) => {
  if (!values) return text;
  return text.replace(/\{(\w+)\}/g, (whole, name) => (name in values ? String(values[name]) : whole));
};
