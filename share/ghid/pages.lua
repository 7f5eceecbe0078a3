-- Turns the guide's Markdown pages into the HTML pages the package carries: links between
-- pages lead to their HTML files (README.md is the index), pictures to the copies kept in
-- "screens/" beside the pages, and each page is titled by its first heading.
local function local_target(target)
  return not target:match("^%a[%w+.-]*:")
end

function Link(el)
  if local_target(el.target) then
    el.target = el.target:gsub("^README%.md", "index.html"):gsub("%.md$", ".html"):gsub("%.md#", ".html#")
  end
  return el
end

function Image(el)
  if local_target(el.src) then
    el.src = el.src:gsub("^%.%./screens/", "screens/")
  end
  return el
end

function Pandoc(doc)
  for _, block in ipairs(doc.blocks) do
    if block.t == "Header" then
      doc.meta.pagetitle = pandoc.utils.stringify(block)
      break
    end
  end
  return doc
end
